#include "gui/skin/dialog_skin.h"

#include "gui/skin/skin_palette.h"
#include "gui/skin/skin_rect.h"

namespace korvel {

TextStyle DialogSkin::Style(SkinText kind) const {
    const QColor light(0xE4, 0xE4, 0xE4);
    switch (kind) {
        case SkinText::Title:
            return {10, QStringLiteral("Tahoma"), Qt::white};
        case SkinText::Label:
            return {8, QStringLiteral("Verdana"), light};
        case SkinText::SceneButton:
            return {10, QStringLiteral("Arial"), light};
        case SkinText::SmallButton:
            return {8, QStringLiteral("DejaVu Sans"), QColor::fromRgb(skin_palette::kLegend)};
        case SkinText::Button:
            break;
    }
    return {9, QStringLiteral("Tahoma"), Qt::white};
}

QRect DialogSkin::Rect(const QString& section, const QString& key) const {
    return ParseSkinRect(Value(section, key, QStringLiteral("1,1,1,1,x")));
}

}  // namespace korvel
