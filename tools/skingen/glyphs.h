#pragma once

#include <QColor>
#include <QRectF>

#include "skin_layout.h"

class QPainter;

namespace skingen {

// Line icons drawn into a square box, in one colour, with round caps: the same hand for every
// dialog. Symbols only: captions are the program's.
void DrawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& colour);

}  // namespace skingen
