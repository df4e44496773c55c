#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace korvel {

// One horizontal run of a mask picture's inside pixels.
struct MaskRun {
    int x = 0;
    int y = 0;
    int length = 0;
    bool operator==(const MaskRun&) const = default;
};

// The runs of a mask picture given as rows of 0xAARRGGBB pixels, `width` to a row: every pixel
// whose colour is exactly white is outside, all others inside. Rows are scanned top down, each
// left to right; the last row may be short.
std::vector<MaskRun> MaskRunsOf(std::span<const std::uint32_t> pixels, int width);

}  // namespace korvel
