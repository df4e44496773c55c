#include "gui/widgets/keyboard_focus.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <vector>

#include "gui/skin/skin_palette.h"

namespace korvel {
namespace {

constexpr int kRingWidth = 2;
constexpr int kRingRadius = 4;
const char* const kRingProperty = "korvelFocusRing";

bool FromKeyboard(Qt::FocusReason reason) {
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}

// Follows the focus of the whole application; see EnsureKeyboardFocusAid.
class FocusAid : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            FocusIn(watched, static_cast<QFocusEvent*>(event)->reason());
        } else if (event->type() == QEvent::FocusOut) {
            FocusOut(watched);
        } else if (event->type() == QEvent::KeyRelease) {
            // A tooltip hides at any key, the release of the Tab that moved the focus included:
            // the tip of the control it reached shows again.
            const int key = static_cast<QKeyEvent*>(event)->key();
            if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && watched == qApp->focusWidget()) {
                ShowTipSoon(static_cast<QWidget*>(watched));
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void FocusIn(QObject* watched, Qt::FocusReason reason) {
        auto* control = qobject_cast<QWidget*>(watched);
        if (control == nullptr || control->isWindow()) {
            return;
        }
        QWidget* window = control->window();
        if (!window->property(kRingProperty).toBool()) {
            return;
        }
        FocusRing* ring = FocusRingOf(*window);
        if (!FromKeyboard(reason)) {
            if (ring != nullptr) {
                ring->hide();
            }
            return;
        }
        if (ring == nullptr) {
            ring = new FocusRing(*window);
        }
        ring->Surround(*control);
        ShowTipSoon(control);
    }

    // What the mouse would learn by resting on it, the keyboard learns at once: once the focus
    // change has been handled, while the control still has the focus.
    static void ShowTipSoon(QWidget* control) {
        if (control->toolTip().isEmpty()) {
            return;
        }
        QTimer::singleShot(0, control, [control] {
            if (control->hasFocus()) {
                QToolTip::showText(control->mapToGlobal(QPoint(0, control->height())),
                                   control->toolTip(), control);
            }
        });
    }

    static void FocusOut(QObject* watched) {
        auto* control = qobject_cast<QWidget*>(watched);
        if (control == nullptr || control->isWindow()) {
            return;
        }
        if (FocusRing* ring = FocusRingOf(*control->window());
            ring != nullptr && ring->Surrounded() == control) {
            ring->hide();
        }
    }
};

QPointer<FocusAid>& Aid() {
    static QPointer<FocusAid> aid;
    return aid;
}

}  // namespace

void MakeTabStop(QWidget& control) {
    control.setFocusPolicy(Qt::TabFocus);
}

void MakeShowOnly(QWidget& control) {
    control.setAttribute(Qt::WA_TransparentForMouseEvents);
    control.setFocusPolicy(Qt::NoFocus);
}

std::vector<QWidget*> TabStopsByPlace(const QWidget& dialog) {
    constexpr int kRowTolerance = 8;
    std::vector<QWidget*> stops;
    for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow() && (child->focusPolicy() & Qt::TabFocus)) {
            stops.push_back(child);
        }
    }
    std::stable_sort(stops.begin(), stops.end(), [](const QWidget* a, const QWidget* b) {
        const int dy = a->geometry().top() - b->geometry().top();
        if (dy < -kRowTolerance || dy > kRowTolerance) {
            return dy < 0;
        }
        return a->geometry().left() < b->geometry().left();
    });
    return stops;
}

void ApplyTabOrder(const std::vector<QWidget*>& order) {
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

bool PressOnEnter(QAbstractButton& button, QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        return false;
    }
    event->accept();
    if (button.isEnabled()) {
        button.click();
    }
    return true;
}

void EnsureKeyboardFocusAid() {
    if (Aid() == nullptr && qApp != nullptr) {
        Aid() = new FocusAid(qApp);
        qApp->installEventFilter(Aid());
    }
}

void MarkForFocusRing(QWidget& window) {
    window.setProperty(kRingProperty, true);
    EnsureKeyboardFocusAid();
}

FocusRing::FocusRing(QWidget& window) : QWidget(&window) {
    setObjectName(QStringLiteral("focusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void FocusRing::Surround(const QWidget& control) {
    m_control = &control;
    const QRect area(control.mapTo(parentWidget(), QPoint(0, 0)), control.size());
    setGeometry(area.adjusted(-kRingWidth, -kRingWidth, kRingWidth, kRingWidth));
    raise();
    show();
    update();
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor::fromRgb(skin_palette::kAccent), kRingWidth));
    painter.setBrush(Qt::NoBrush);
    const qreal half = kRingWidth / 2.0;
    painter.drawRoundedRect(QRectF(rect()).adjusted(half, half, -half, -half), kRingRadius,
                            kRingRadius);
}

FocusRing* FocusRingOf(const QWidget& window) {
    return window.findChild<FocusRing*>(QStringLiteral("focusRing"), Qt::FindDirectChildrenOnly);
}

}  // namespace korvel
