#pragma once

#include <QImage>
#include <QString>
#include <vector>

#include "skin_layout.h"

namespace skingen {

struct NamedImage {
    QString file;
    QImage image;
};

// The lighting panel's bitmaps (on/off, directions, multicolour, colour chips, tools, the slider
// faces 0..11) and the progress frames jdt1..jdt10, each as large as the control that shows it in
// the main window, drawn at `scale` (see Canvas).
std::vector<NamedImage> RenderPanelBitmaps(const Dialog& main, int scale);

// "combo_arrow.png": the drop-down mark of the selectors the program draws (effects, presets), on
// a transparent ground, drawn at `scale`.
NamedImage RenderComboArrow(int scale);

}  // namespace skingen
