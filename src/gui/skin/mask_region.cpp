#include "gui/skin/mask_region.h"

#include <QVector>
#include <span>

#include "text/mask_runs.h"

namespace korvel {
namespace {

constexpr int kBatch = 2000;

}  // namespace

QRegion RegionFromMask(const QImage& mask) {
    const QImage pixels = mask.convertToFormat(QImage::Format_RGB32);
    // Rows of 32-bit pixels have no padding: the picture is one run of width * height pixels.
    const auto* first = reinterpret_cast<const std::uint32_t*>(pixels.constBits());
    const auto count = static_cast<std::size_t>(pixels.width()) *
                       static_cast<std::size_t>(std::max(pixels.height(), 0));
    const std::vector<MaskRun> runs =
        MaskRunsOf(std::span<const std::uint32_t>(first, first ? count : 0), pixels.width());
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
    for (const MaskRun& run : runs) {
        batch.append(QRect(run.x, run.y, run.length, 1));
        if (batch.size() == kBatch) {
            flush();
        }
    }
    flush();
    return region;
}

}  // namespace korvel
