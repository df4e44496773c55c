#include "gui/widgets/skin_placement.h"

#include <QWidget>

#include "gui/widgets/ini_file.h"
#include "gui/widgets/png_button.h"
#include "gui/widgets/skin_rect.h"

namespace korvel {

QRect ReadSkinRect(const CIniFile& ini, const QString& section, const QString& key) {
    return ParseSkinRect(ini.Read(section, key, QStringLiteral("1,1,1,1,x")));
}

void PlaceControl(QWidget* control, const CIniFile& ini, const QString& section,
                  const QString& key) {
    control->setGeometry(ReadSkinRect(ini, section, key));
}

void MoveControl(QWidget* control, const CIniFile& ini, const QString& section,
                 const QString& key) {
    control->move(ReadSkinRect(ini, section, key).topLeft());
    control->update();
}

void PlaceImageButton(CPngButton* button, const CIniFile& ini, const QString& section,
                      const QString& key, const SkinSurfaces* surfaces) {
    const QRect rect = ReadSkinRect(ini, section, key);
    button->setGeometry(rect);
    button->SetPicturesAt(rect.x(), rect.y(), surfaces, false);
    if (IsDisabledPlacement(rect)) {
        button->setEnabled(false);
    }
}

void PlaceImageButtonAt(CPngButton* button, const CIniFile& ini, const QString& section,
                        const QString& key, const QString& offsetSection, const QString& offsetKey,
                        const SkinSurfaces* picture) {
    button->setGeometry(ReadSkinRect(ini, section, key));
    const QRect offset = ReadSkinRect(ini, offsetSection, offsetKey);
    button->SetPicturesAt(offset.x(), offset.y(), picture, false);
}

}  // namespace korvel
