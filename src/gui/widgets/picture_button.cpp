#include "gui/widgets/picture_button.h"

#include <QKeyEvent>
#include <QPainter>

#include "gui/widgets/keyboard_focus.h"

namespace korvel {

CPictureButton::CPictureButton(QWidget* parent) : QAbstractButton(parent) {
    MakeTabStop(*this);
    setCursor(Qt::PointingHandCursor);
}

void CPictureButton::SetPictures(const QPixmap& plain, const QPixmap& down) {
    m_plain = plain;
    m_pressed = down;
    update();
}

void CPictureButton::SetDown(bool down) {
    if (down != m_down) {
        m_down = down;
        update();
    }
}

void CPictureButton::keyPressEvent(QKeyEvent* event) {
    if (!PressOnEnter(*this, event)) {
        QAbstractButton::keyPressEvent(event);
    }
}

void CPictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_down ? m_pressed : m_plain);
}

}  // namespace korvel
