// A control's rectangle as a skin file gives it (the input as UTF-16 code units): the numbers stay
// within their cap, and written back as "x,y,w,h" they read back the same.
#include <cstdlib>
#include <string>

#include "text/skin_rect_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvel;
    std::u16string value;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        value.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    }
    const SkinRectNumbers numbers = ParseSkinRectText(value);
    for (const int n : {numbers.x, numbers.y, numbers.width, numbers.height}) {
        if (n > (1 << 24) || n < -(1 << 24)) {
            std::abort();
        }
    }
    std::u16string written;
    for (const int n : {numbers.x, numbers.y, numbers.width, numbers.height}) {
        const std::string text = std::to_string(n);
        written.append(text.begin(), text.end());
        written.push_back(u',');
    }
    const SkinRectNumbers again = ParseSkinRectText(written);
    if (again.x != numbers.x || again.y != numbers.y || again.width != numbers.width ||
        again.height != numbers.height) {
        std::abort();
    }
    return 0;
}
