#pragma once

#include <string_view>

namespace korvel {

// The four numbers of a control's rectangle in a skin file: "x,y,w,h". Read like "%d" each (blanks,
// an optional sign, decimal digits; magnitudes capped at 2^24), as far as they go, separated by
// commas; numbers that are not there are 0.
struct SkinRectNumbers {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

SkinRectNumbers ParseSkinRectText(std::u16string_view value);

}  // namespace korvel
