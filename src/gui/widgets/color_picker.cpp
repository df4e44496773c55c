#include "gui/widgets/color_picker.h"

#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <vector>

#include "gui/widgets/keyboard_focus.h"

namespace korvel {
namespace {

constexpr int kColumns = 10;
constexpr int kSwatch = 18;

const QString kPopupStyle = QStringLiteral(
    "QFrame#ColorPopup { background: #1f232b; border: 1px solid #3a404c; border-radius: 6px; }"
    "QToolButton { border: 1px solid #3a404c; border-radius: 3px; }"
    "QToolButton:hover { border: 1px solid #27c4f5; }"
    "QPushButton { color: #e4e4e4; background: #2a2f3a; border: 1px solid #3a404c;"
    " border-radius: 4px; padding: 3px 8px; }"
    "QPushButton:hover { border-color: #27c4f5; }");

}  // namespace

CColorPicker::CColorPicker(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(false);
    MakeTabStop(*this);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    connect(this, &QAbstractButton::clicked, this, &CColorPicker::OpenPopup);
}

void CColorPicker::keyPressEvent(QKeyEvent* event) {
    // Not a default button (so Enter elsewhere never opens it), but Enter on it does.
    if (!PressOnEnter(*this, event)) {
        QPushButton::keyPressEvent(event);
    }
}

const std::vector<QColor>& CColorPicker::Palette() {
    // Pure hues first (the keyboard's lights show them best), then lighter and darker rows and a
    // grey ramp from white to black.
    static const std::vector<QColor> palette = [] {
        std::vector<QColor> colors;
        const int hues[kColumns] = {0, 30, 60, 90, 120, 165, 195, 225, 270, 315};
        for (int value : {255, 160}) {
            for (int hue : hues) {
                colors.push_back(QColor::fromHsv(hue, 255, value));
            }
        }
        for (int hue : hues) {
            colors.push_back(QColor::fromHsv(hue, 110, 255));
        }
        for (int i = 0; i < kColumns; ++i) {
            const int grey = 255 - i * 255 / (kColumns - 1);
            colors.push_back(QColor(grey, grey, grey));
        }
        return colors;
    }();
    return palette;
}

void CColorPicker::SetColor(const QColor& color) {
    if (color != m_color) {
        m_color = color;
        update();
    }
}

void CColorPicker::Choose(const QColor& color) {
    if (m_popup != nullptr) {
        m_popup->close();
    }
    SetColor(color);
    emit picked(color);
}

void CColorPicker::OpenPopup() {
    auto* popup = new QFrame(this, Qt::Popup);
    popup->setObjectName(QStringLiteral("ColorPopup"));
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->setStyleSheet(kPopupStyle);
    auto* layout = new QVBoxLayout(popup);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    auto* grid = new QGridLayout;
    grid->setSpacing(4);
    const auto& palette = Palette();
    for (int i = 0; i < static_cast<int>(palette.size()); ++i) {
        const QColor color = palette[static_cast<std::size_t>(i)];
        auto* swatch = new QToolButton(popup);
        swatch->setFixedSize(kSwatch, kSwatch);
        swatch->setAutoRaise(true);
        swatch->setToolTip(color.name());
        swatch->setStyleSheet(QStringLiteral("background: %1;").arg(color.name()));
        connect(swatch, &QToolButton::clicked, this, [this, color] { Choose(color); });
        grid->addWidget(swatch, i / kColumns, i % kColumns);
    }
    layout->addLayout(grid);
    auto* other = new QPushButton(m_otherText, popup);
    other->setAutoDefault(false);
    connect(other, &QPushButton::clicked, this, &CColorPicker::ChooseOther);
    layout->addWidget(other);
    m_popup = popup;
    connect(popup, &QObject::destroyed, this, [this] { m_popup = nullptr; });
    popup->adjustSize();
    popup->move(mapToGlobal(QPoint(0, height() + 2)));
    popup->show();
}

void CColorPicker::ChooseOther() {
    if (m_popup != nullptr) {
        m_popup->close();
    }
    const QColor color =
        QColorDialog::getColor(m_color, window(), QString(), QColorDialog::DontUseNativeDialog);
    if (color.isValid()) {
        Choose(color);
    }
}

void CColorPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(1, 1, -1, -1);
    painter.setPen(QPen(underMouse() ? QColor(0x27, 0xc4, 0xf5) : QColor(0x3a, 0x40, 0x4c), 1));
    painter.setBrush(QColor(0x2a, 0x2f, 0x3a));
    painter.drawRoundedRect(frame, 5, 5);
    const QRectF swatch = frame.adjusted(5, 5, -22, -5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_color);
    painter.drawRoundedRect(swatch, 3, 3);
    // A small chevron says that a popup opens.
    const QPointF tip(frame.right() - 11, frame.center().y() + 2);
    painter.setPen(QPen(QColor(0xe4, 0xe4, 0xe4), 1.5));
    painter.drawLine(tip + QPointF(-4, -3), tip);
    painter.drawLine(tip, tip + QPointF(4, -3));
}

}  // namespace korvel
