#include "gui/widgets/image_slider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace korvel {

CImageSlider::CImageSlider(int positions, QWidget* parent)
    : QWidget(parent), m_positions(std::max(positions, 0)) {
    // The arrow keys step it: Tab reaches it too.
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void CImageSlider::SetFaces(std::vector<QPixmap> faces) {
    m_faces = std::move(faces);
    update();
}

void CImageSlider::SetPosition(int position) {
    const int clamped = std::clamp(position, 0, std::max(0, Positions() - 1));
    if (clamped != m_position) {
        m_position = clamped;
        update();
    }
}

int CImageSlider::PositionAt(int x) const {
    if (Positions() <= 1 || width() <= 0) {
        return 0;
    }
    // Each position owns an equal share of the width.
    return std::clamp(x * Positions() / width(), 0, Positions() - 1);
}

void CImageSlider::MoveTo(int position) {
    const int before = m_position;
    SetPosition(position);
    if (m_position != before) {
        emit moved(m_position);
    }
}

void CImageSlider::paintEvent(QPaintEvent*) {
    if (m_position < static_cast<int>(m_faces.size())) {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), m_faces[static_cast<std::size_t>(m_position)]);
    }
}

void CImageSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        MoveTo(PositionAt(event->position().toPoint().x()));
    }
}

void CImageSlider::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        MoveTo(PositionAt(event->position().toPoint().x()));
    }
}

void CImageSlider::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
            MoveTo(m_position - 1);
            break;
        case Qt::Key_Right:
        case Qt::Key_Up:
            MoveTo(m_position + 1);
            break;
        case Qt::Key_Home:
            MoveTo(0);
            break;
        case Qt::Key_End:
            MoveTo(Positions() - 1);
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

void CImageSlider::wheelEvent(QWheelEvent* event) {
    // The window scrolls nothing: a wheel turned over the panel must not change the lighting.
    event->ignore();
}

}  // namespace korvel
