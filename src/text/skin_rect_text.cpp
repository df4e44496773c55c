#include "text/skin_rect_text.h"

#include <algorithm>

namespace korvel {
namespace {

constexpr long kMaxMagnitude = 1L << 24;

bool IsBlank(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

SkinRectNumbers ParseSkinRectText(std::u16string_view value) {
    int numbers[4] = {0, 0, 0, 0};
    int index = 0;
    std::size_t at = 0;
    const std::size_t length = value.size();
    while (index < 4) {
        while (at < length && IsBlank(value[at])) {
            ++at;
        }
        bool negative = false;
        if (at < length && (value[at] == u'-' || value[at] == u'+')) {
            negative = value[at] == u'-';
            ++at;
        }
        if (at >= length || !IsDigit(value[at])) {
            break;
        }
        long number = 0;
        while (at < length && IsDigit(value[at])) {
            number = std::min(number * 10 + (value[at] - u'0'), kMaxMagnitude);
            ++at;
        }
        numbers[index++] = static_cast<int>(negative ? -number : number);
        if (at >= length || value[at] != u',') {
            break;
        }
        ++at;
    }
    return SkinRectNumbers{numbers[0], numbers[1], numbers[2], numbers[3]};
}

}  // namespace korvel
