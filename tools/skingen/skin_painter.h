#pragma once

#include <QImage>

#include "skin_layout.h"

namespace skingen {

// Every picture is drawn at a scale: 1 for the skin's pictures, 2 for their "@2x" partners, which
// have the same layout in logical pixels and are drawn (text, glyphs, lines, corners) at twice
// the resolution, not blown up. A canvas of `size` logical pixels at `scale`, its device pixel
// ratio set so that a painter on it works in logical pixels.
QImage Canvas(QSize size, int scale, QImage::Format format = QImage::Format_RGB32);

// The dialog's background: its normal look, drawn at (0, 0).
QImage RenderBackground(const Dialog& dialog, int scale);

// A full-dialog state picture. A button at (x, y) shows the picture from (x - 1, y - 1), so the
// whole dialog is drawn one pixel up and to the left: each face lands where the button cuts it
// and matches the background around the button.
QImage RenderStatePicture(const Dialog& dialog, State state, int variant, int scale);

// The dialog's shape: white outside, black inside (rounded corners). A shape in logical pixels,
// which is what a window's shape is at any device pixel ratio: it has no 2× drawing.
QImage RenderMask(const Dialog& dialog);

// "Arrow.jpg": every flip arrow face at its "BUTTONINFO2" position.
QImage RenderArrowPicture(QSize faceSize, int scale);

}  // namespace skingen
