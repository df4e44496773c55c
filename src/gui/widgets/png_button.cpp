#include "gui/widgets/png_button.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <map>
#include <vector>

#include "gui/widgets/keyboard_focus.h"
#include "gui/widgets/startup_switches.h"
#include "gui/widgets/tinted_face.h"

namespace korvel {
namespace {

constexpr qreal kDisabledCaptionOpacity = 0.35;

Qt::Alignment AlignmentOf(unsigned format) {
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    if (format & kTextCenter) {
        alignment = (alignment & ~Qt::AlignHorizontal_Mask) | Qt::AlignHCenter;
    } else if (format & kTextRight) {
        alignment = (alignment & ~Qt::AlignHorizontal_Mask) | Qt::AlignRight;
    }
    if (format & kTextVCenter) {
        alignment = (alignment & ~Qt::AlignVertical_Mask) | Qt::AlignVCenter;
    } else if (format & kTextBottom) {
        alignment = (alignment & ~Qt::AlignVertical_Mask) | Qt::AlignBottom;
    }
    return alignment;
}

}  // namespace

CPngButton::CPngButton(QWidget* parent) : QAbstractButton(parent) {
    // Not being a push button, it is never a dialog's default button: Enter presses it only
    // when Tab has given it the focus (a click leaves the focus where it is).
    MakeTabStop(*this);
    setAttribute(Qt::WA_Hover);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CPngButton::SetStatePictures(const SkinSurfaces* surfaces, bool redraw) {
    m_surfaces = surfaces;
    m_hover = false;
    if (redraw) {
        update();
    }
}

void CPngButton::SetPicturesAt(int x, int y, const SkinSurfaces* surfaces, bool redraw) {
    m_offset = QPoint(x, y);
    SetStatePictures(surfaces, redraw);
}

void CPngButton::SetPictureOffset(int x, int y, bool redraw) {
    m_offset = QPoint(x, y);
    if (redraw) {
        update();
    }
}

void CPngButton::SetChecked(bool checked, bool redraw) {
    m_checked = checked;
    if (redraw) {
        update();
    }
}

void CPngButton::SetTextStyle(bool enabled, int pointSize, const QString& face, QColor colour,
                              unsigned format) {
    m_textEnabled = enabled;
    m_pointSize = pointSize;
    m_face = face;
    m_textColour = colour;
    m_format = format;
    update();
}

void CPngButton::SetTextMargins(int left, int right, int top, int bottom) {
    m_margins = QMargins(left, top, right, bottom);
    update();
}

void CPngButton::SetTextRotation(int escapement, bool rotated) {
    m_escapement = escapement;
    m_rotated = rotated;
    update();
}

void CPngButton::SetFrame(QColor colour, bool on) {
    m_frameColour = colour;
    m_frame = on;
    update();
}

void CPngButton::SetTooltip(const QString& text, bool activate) {
    setToolTip(activate ? text : QString());
}

void CPngButton::SetTint(std::optional<QColor> tint) {
    if (tint != m_tint) {
        m_tint = tint;
        update();
    }
}

const QPixmap* CPngButton::CurrentSurface() const {
    if (m_surfaces == nullptr) {
        return nullptr;
    }
    if (!isEnabled()) {
        return &m_surfaces->disabled;
    }
    if (isDown()) {
        return &m_surfaces->pressed;
    }
    if (m_hover) {
        return &m_surfaces->hover;
    }
    if (m_checked) {
        return &m_surfaces->checked;
    }
    return &m_surfaces->normal;
}

void CPngButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // A face of a 2× picture on a screen of a fractional ratio is scaled down, smoothly.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPixmap* surface = CurrentSurface();
    if (m_frame) {
        painter.setPen(QPen(m_frameColour, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(1, 1, width() - 2, height() - 2));
    } else if (surface != nullptr) {
        // The face at the button's own place, found through the atlas of packed pictures or
        // decoded on its own.
        const std::optional<std::pair<QPixmap, QRect>> face = m_surfaces->Face(surface, FaceRect());
        if (!face || !face->first.rect().contains(face->second)) {
            // The part of the face beyond the picture shows the dialog's ground.
            painter.fillRect(rect(), palette().color(QPalette::Window));
        }
        if (face && m_tint) {
            QImage tinted = TintedFace(face->first.copy(face->second).toImage(), *m_tint);
            tinted.setDevicePixelRatio(face->first.devicePixelRatio());
            painter.drawImage(QPoint(0, 0), tinted);
        } else if (face) {
            painter.drawPixmap(QPoint(0, 0), face->first, face->second);
        }
    }
    if (m_tint && (m_frame || surface == nullptr)) {
        QColor half = *m_tint;
        half.setAlpha(128);
        painter.fillRect(rect(), half);
    }
    if (m_textEnabled) {
        DrawCaption(painter);
    }
    if (m_afterDraw) {
        m_afterDraw(*this, m_surfaces != nullptr && surface == &m_surfaces->normal);
    }
}

void CPngButton::DrawCaption(QPainter& painter) {
    QFont font(m_face);
    font.setPointSize(m_pointSize);
    font.setWeight(m_rotated ? QFont::Black : QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    painter.setFont(font);
    QColor colour = m_textColour;
    if (!isEnabled()) {
        // A disabled caption is dimmed as the disabled face's legends are.
        colour.setAlphaF(colour.alphaF() * kDisabledCaptionOpacity);
    }
    painter.setPen(colour);
    const QRect area = rect().marginsRemoved(m_margins);
    int flags = static_cast<int>(AlignmentOf(m_format));
    if (m_format & kTextWordBreak) {
        flags |= Qt::TextWordWrap;
    }
    if (m_rotated && m_escapement != 0) {
        // Turn about the middle of the text area, so the turned caption stays centred on it.
        painter.save();
        painter.translate(area.center());
        painter.rotate(-m_escapement / 10.0);
        painter.translate(-area.center());
        painter.drawText(area, flags, text());
        painter.restore();
    } else if (flags & Qt::TextWordWrap) {
        painter.drawText(area, flags, text());
    } else {
        // A caption longer than its button ends in an ellipsis; the tooltip has it whole.
        painter.drawText(area, flags,
                         painter.fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
    }
}

void CPngButton::keyPressEvent(QKeyEvent* event) {
    if (!PressOnEnter(*this, event)) {
        QAbstractButton::keyPressEvent(event);
    }
}

void CPngButton::enterEvent(QEnterEvent* event) {
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

// The second press of a double click arrives as a double-click event; it is one more click.
void CPngButton::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isEnabled()) {
        event->accept();
        click();
        return;
    }
    QAbstractButton::mouseDoubleClickEvent(event);
}

void CPngButton::leaveEvent(QEvent* event) {
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void PrefetchShownFaces(const QWidget& dialog) {
    if (!StartupMechanismOn("prefetch")) {
        return;
    }
    std::map<const LazyFaces*, std::vector<QRect>> wanted;
    for (const CPngButton* button : dialog.findChildren<CPngButton*>()) {
        const SkinSurfaces* surfaces = button->Surfaces();
        if (surfaces == nullptr || !button->isVisibleTo(&dialog)) {
            continue;
        }
        if (const LazyFaces* lazy = surfaces->Lazy(button->CurrentSurface())) {
            wanted[lazy].push_back(button->FaceRect());
        }
    }
    for (auto& [lazy, faces] : wanted) {
        lazy->Prefetch(std::move(faces));
    }
}

}  // namespace korvel
