#include "gui/widgets/mask_region.h"

#include <QVector>

namespace korvel {
namespace {

constexpr int kBatch = 2000;

}  // namespace

QRegion RegionFromMask(const QImage& mask) {
    const QImage pixels = mask.convertToFormat(QImage::Format_RGB32);
    QRegion region;
    QVector<QRect> batch;
    batch.reserve(kBatch);
    auto flush = [&] {
        if (!batch.isEmpty()) {
            QRegion part;
            part.setRects(batch.constData(), static_cast<int>(batch.size()));
            region += part;
            batch.clear();
        }
    };
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < pixels.width()) {
            while (x < pixels.width() && (row[x] & 0xFFFFFF) == 0xFFFFFF) {
                ++x;
            }
            const int start = x;
            while (x < pixels.width() && (row[x] & 0xFFFFFF) != 0xFFFFFF) {
                ++x;
            }
            if (x > start) {
                batch.append(QRect(start, y, x - start, 1));
                if (batch.size() == kBatch) {
                    flush();
                }
            }
        }
    }
    flush();
    return region;
}

}  // namespace korvel
