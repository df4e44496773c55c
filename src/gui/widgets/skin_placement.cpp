#include "gui/widgets/skin_placement.h"

#include <QWidget>

#include "gui/skin/dialog_skin.h"
#include "gui/skin/skin_rect.h"
#include "gui/widgets/png_button.h"

namespace korvel {

void PlaceControl(QWidget* control, const DialogSkin& skin, const QString& section,
                  const QString& key) {
    control->setGeometry(skin.Rect(section, key));
}

void MoveControl(QWidget* control, const DialogSkin& skin, const QString& section,
                 const QString& key) {
    control->move(skin.Rect(section, key).topLeft());
    control->update();
}

void PlaceImageButton(CPngButton* button, const DialogSkin& skin, const QString& section,
                      const QString& key, const SkinSurfaces* surfaces) {
    const QRect rect = skin.Rect(section, key);
    button->setGeometry(rect);
    button->SetPicturesAt(rect.x(), rect.y(), surfaces, false);
    if (IsDisabledPlacement(rect)) {
        button->setEnabled(false);
    }
}

void PlaceImageButtonAt(CPngButton* button, const DialogSkin& skin, const QString& section,
                        const QString& key, const QString& offsetSection, const QString& offsetKey,
                        const SkinSurfaces* picture) {
    button->setGeometry(skin.Rect(section, key));
    const QRect offset = skin.Rect(offsetSection, offsetKey);
    button->SetPicturesAt(offset.x(), offset.y(), picture, false);
}

}  // namespace korvel
