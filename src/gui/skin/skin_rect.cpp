#include "gui/skin/skin_rect.h"

#include "text/skin_rect_text.h"

namespace korvel {

QRect ParseSkinRect(const QString& value) {
    const SkinRectNumbers numbers = ParseSkinRectText(value.toStdU16String());
    return QRect(numbers.x, numbers.y, numbers.width, numbers.height);
}

bool IsDisabledPlacement(const QRect& rect) {
    return rect.x() == 1 && rect.y() == 1;
}

}  // namespace korvel
