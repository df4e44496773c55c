#pragma once

#include <QImage>
#include <QRegion>

namespace korvel {

// The window shape of a mask picture: every pixel that is exactly white is outside, all others
// inside. Rows are scanned top down into one-pixel-high runs, united in batches of 2000.
QRegion RegionFromMask(const QImage& mask);

}  // namespace korvel
