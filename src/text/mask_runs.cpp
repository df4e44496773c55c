#include "text/mask_runs.h"

#include <algorithm>

namespace korvel {
namespace {

bool IsOutside(std::uint32_t pixel) {
    return (pixel & 0xFFFFFF) == 0xFFFFFF;
}

}  // namespace

std::vector<MaskRun> MaskRunsOf(std::span<const std::uint32_t> pixels, int width) {
    std::vector<MaskRun> runs;
    if (width <= 0) {
        return runs;
    }
    const auto rowLength = static_cast<std::size_t>(width);
    for (std::size_t first = 0, y = 0; first < pixels.size(); first += rowLength, ++y) {
        const std::span<const std::uint32_t> row =
            pixels.subspan(first, std::min(rowLength, pixels.size() - first));
        std::size_t x = 0;
        while (x < row.size()) {
            while (x < row.size() && IsOutside(row[x])) {
                ++x;
            }
            const std::size_t start = x;
            while (x < row.size() && !IsOutside(row[x])) {
                ++x;
            }
            if (x > start) {
                runs.push_back(MaskRun{static_cast<int>(start), static_cast<int>(y),
                                       static_cast<int>(x - start)});
            }
        }
    }
    return runs;
}

}  // namespace korvel
