#include "gui/widgets/skin_rect.h"

namespace korvel {

QRect ParseSkinRect(const QString& value) {
    int numbers[4] = {0, 0, 0, 0};
    int index = 0;
    int at = 0;
    const int length = static_cast<int>(value.size());
    while (index < 4) {
        // Like "%d": optional blanks, an optional sign, then digits.
        while (at < length && value[at].isSpace()) {
            ++at;
        }
        bool negative = false;
        if (at < length && (value[at] == u'-' || value[at] == u'+')) {
            negative = value[at] == u'-';
            ++at;
        }
        if (at >= length || !value[at].isDigit()) {
            break;
        }
        long number = 0;
        while (at < length && value[at].isDigit()) {
            number = std::min(number * 10 + value[at].digitValue(), 1L << 24);
            ++at;
        }
        numbers[index++] = static_cast<int>(negative ? -number : number);
        if (at >= length || value[at] != u',') {
            break;
        }
        ++at;
    }
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

bool IsDisabledPlacement(const QRect& rect) {
    return rect.x() == 1 && rect.y() == 1;
}

}  // namespace korvel
