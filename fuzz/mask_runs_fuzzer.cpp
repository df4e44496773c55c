// A mask picture's runs: the first byte is the width (1..64), every further byte one pixel (0xFF
// white, any other a shade of grey). The runs lie inside the picture, in scan order, never touch
// each other, and cover exactly the pixels that are not white.
#include <cstdlib>
#include <vector>

#include "text/mask_runs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvel;
    if (size == 0) {
        return 0;
    }
    const int width = data[0] % 64 + 1;
    std::vector<std::uint32_t> pixels;
    std::size_t inside = 0;
    for (std::size_t i = 1; i < size; ++i) {
        pixels.push_back(0xFF000000u | data[i] * 0x010101u);
        inside += data[i] != 0xFF ? 1 : 0;
    }
    std::size_t covered = 0;
    const MaskRun* previous = nullptr;
    const std::vector<MaskRun> runs = MaskRunsOf(pixels, width);
    for (const MaskRun& run : runs) {
        const auto at = static_cast<std::size_t>(run.y) * width + run.x;
        if (run.length <= 0 || run.x < 0 || run.x + run.length > width ||
            at + run.length > pixels.size()) {
            std::abort();
        }
        if (previous != nullptr && previous->y == run.y &&
            previous->x + previous->length >= run.x) {
            std::abort();
        }
        if (previous != nullptr && previous->y > run.y) {
            std::abort();
        }
        for (int k = 0; k < run.length; ++k) {
            if ((pixels[at + k] & 0xFFFFFF) == 0xFFFFFF) {
                std::abort();
            }
        }
        covered += static_cast<std::size_t>(run.length);
        previous = &run;
    }
    if (covered != inside) {
        std::abort();
    }
    return 0;
}
