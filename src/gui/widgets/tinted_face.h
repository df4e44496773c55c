#pragma once

#include <QColor>
#include <QImage>

namespace korvel {

// A key face with the lighting preview laid over it: the cap takes the tint at half strength,
// while the legend (the face's pixels clearly lighter than its cap) stays readable: light on a
// dark tint, and a deep shade of the tint on a light one.
QImage TintedFace(const QImage& face, const QColor& tint);

}  // namespace korvel
