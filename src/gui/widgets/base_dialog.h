#pragma once

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

#include "gui/skin/dialog_skin.h"

namespace korvel {

// A frameless dialog painted with its skin's background picture and cut to its mask picture's
// shape ("SCREEN": "Main", and "Mask", which defaults to "Main"). Everything else of its look
// (rectangles, pictures, captions, fonts) its subclass reads from the same skin. It can be dragged
// from anywhere on its own surface. Tab and Shift+Tab walk its controls, Enter and Space press the
// focused one, and Escape closes it as its window manager's close does (see keyboard_focus.h);
// Enter never closes it.
class CBaseDialog : public QDialog {
    Q_OBJECT

public:
    CBaseDialog(QWidget* parent, std::shared_ptr<const DialogSkin> skin);

    // Loads the background and mask, sizes the window to the background and shapes it to the
    // mask. On a screen of a device pixel ratio above 1 the skin's pictures are its 2× drawings
    // where it has them (Skin() names their files from then on); sizes, rectangles and the shape
    // stay in logical pixels. False when a picture cannot be read or decoded; SkinError() then
    // names the file.
    bool ApplySkin();
    const QString& SkinError() const { return m_skinError; }

    const DialogSkin& Skin() const { return *m_skin; }
    const QRegion& WindowShape() const { return m_shape; }
    // Whether a press on the dialog's own surface is moving it (until the button is released).
    bool Moving() const { return m_pressed; }

protected:
    void SetSkinError(const QString& error) { m_skinError = error; }
    // The dialog's Tab stops in their order; without it they follow their places, row by row,
    // from the first showing on (TabStopsByPlace). The first Tab, while no control has the focus,
    // goes to the first of them, Shift+Tab to the last.
    void SetTabStops(const std::vector<QWidget*>& stops);
    bool focusNextPrevChild(bool next) override;
    // The background picture, for a dialog that draws its buttons' normal faces into it once:
    // they then need no picture of their own.
    QPixmap& Background() { return m_background; }
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::shared_ptr<const DialogSkin> m_skin;
    QPixmap m_background;
    QString m_backgroundFile;
    QRegion m_shape;
    QString m_skinError;
    QPoint m_pressAt;     // where the left button went down, on the screen
    QPoint m_dragOffset;  // the pointer's place in the window while it follows the pointer
    bool m_pressed = false;
    bool m_dragging = false;
    bool m_skinScaled = false;
    std::vector<QPointer<QWidget>> m_tabStops;
    bool m_tabStopsSet = false;
};

}  // namespace korvel
