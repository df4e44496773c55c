#pragma once

#include <QImage>

#include "skin_layout.h"

namespace skingen {

// The dialog's background: its normal look, drawn at (0, 0).
QImage RenderBackground(const Dialog& dialog);

// A full-dialog state picture. A button at (x, y) shows the picture from (x - 1, y - 1), so the
// whole dialog is drawn one pixel up and to the left: each face lands where the button cuts it
// and matches the background around the button.
QImage RenderStatePicture(const Dialog& dialog, State state, int variant);

// The dialog's shape: white outside, black inside (rounded corners).
QImage RenderMask(const Dialog& dialog);

// "Arrow.jpg": every flip arrow face at its "BUTTONINFO2" position.
QImage RenderArrowPicture(QSize faceSize);

}  // namespace skingen
