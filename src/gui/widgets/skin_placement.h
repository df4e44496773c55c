#pragma once

#include <QRect>
#include <QString>

class QWidget;
class QPixmap;

namespace korvel {

class DialogSkin;
class CPngButton;
struct SkinSurfaces;

// Moves a control to its rectangle.
void PlaceControl(QWidget* control, const DialogSkin& skin, const QString& section,
                  const QString& key);

// Moves a control to the rectangle's corner, keeping its size, and repaints it.
void MoveControl(QWidget* control, const DialogSkin& skin, const QString& section,
                 const QString& key);

// Moves an image button to its rectangle and gives it the dialog's state pictures, cut at the
// rectangle's corner; a button placed at (1, 1) is disabled.
void PlaceImageButton(CPngButton* button, const DialogSkin& skin, const QString& section,
                      const QString& key, const SkinSurfaces* surfaces);

// Moves an image button to the rectangle of `key` and shows one picture in every state, cut at
// the corner of the rectangle of `offsetKey` in `offsetSection` (the main window's arrows).
void PlaceImageButtonAt(CPngButton* button, const DialogSkin& skin, const QString& section,
                        const QString& key, const QString& offsetSection, const QString& offsetKey,
                        const SkinSurfaces* picture);

}  // namespace korvel
