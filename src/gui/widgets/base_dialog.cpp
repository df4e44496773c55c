#include "gui/widgets/base_dialog.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <iterator>

#include "gui/skin/mask_region.h"
#include "gui/skin/picture_scale.h"
#include "gui/skin/scaled_skin.h"
#include "gui/skin/skin_picture.h"
#include "gui/widgets/accessible_controls.h"
#include "gui/widgets/keyboard_focus.h"

namespace korvel {
namespace {

bool LoadPicture(const QString& file, QImage& image, QString& error) {
    QImageReader reader(file);
    image = reader.read();
    if (image.isNull()) {
        error = QStringLiteral("The skin picture %1 cannot be read: %2.")
                    .arg(QDir::toNativeSeparators(file), reader.errorString());
        return false;
    }
    return true;
}

}  // namespace

CBaseDialog::CBaseDialog(QWidget* parent, std::shared_ptr<const DialogSkin> skin)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_skin(std::move(skin)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    MarkForFocusRing(*this);
    InstallSkinnedAccessibility();
}

bool CBaseDialog::ApplySkin() {
    // The pictures for the screen the dialog opens on: drawn at 2× above a ratio of 1. Chosen
    // once, before anything else reads the skin.
    if (!m_skinScaled) {
        m_skinScaled = true;
        m_skin = SkinForRatio(std::move(m_skin), devicePixelRatioF());
    }
    const QString main = m_skin->Value(QStringLiteral("SCREEN"), QStringLiteral("Main"), QString());
    const QString mask = m_skin->Value(QStringLiteral("SCREEN"), QStringLiteral("Mask"), main);
    if (main.isEmpty()) {
        m_skinError = QStringLiteral("The skin file %1 names no background picture.")
                          .arg(QDir::toNativeSeparators(m_skin->Name()));
        return false;
    }
    m_backgroundFile = m_skin->PicturePath(main);
    QImageReader header(m_backgroundFile);
    const QSize size = header.size();
    if (!header.canRead() || !size.isValid()) {
        m_skinError = QStringLiteral("The skin picture %1 cannot be read: %2.")
                          .arg(QDir::toNativeSeparators(m_backgroundFile), header.errorString());
        return false;
    }
    QString error;
    const QImage picture = DecodeSkinPicture(m_backgroundFile, QRect(), &error);
    if (picture.isNull()) {
        m_skinError = QStringLiteral("The skin picture %1 cannot be read: %2.")
                          .arg(QDir::toNativeSeparators(m_backgroundFile), error);
        return false;
    }
    m_background = QPixmap::fromImage(picture);
    QImage maskImage;
    if (!LoadPicture(m_skin->PicturePath(mask), maskImage, m_skinError)) {
        return false;
    }
    // The dialog's size in logical pixels, whatever the resolution its picture is drawn at.
    setFixedSize(size / PictureScaleOf(m_backgroundFile));
    m_shape = RegionFromMask(maskImage);
    setMask(m_shape);
    return true;
}

void CBaseDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Once every control is in its place.
    if (!m_tabStopsSet) {
        SetTabStops(TabStopsByPlace(*this));
    }
    // No control holds the focus unseen: Enter presses nothing before Tab has shown where the
    // focus is (the first Tab then goes to the first control).
    if (focusWidget() == nullptr) {
        setFocus(Qt::OtherFocusReason);
    }
}

void CBaseDialog::SetTabStops(const std::vector<QWidget*>& stops) {
    m_tabStopsSet = true;
    ApplyTabOrder(stops);
    m_tabStops.assign(stops.begin(), stops.end());
}

bool CBaseDialog::focusNextPrevChild(bool next) {
    // Not where the dialog itself happens to lie in the focus chain.
    QWidget* focus = focusWidget();
    if (focus == nullptr || focus == this) {
        const auto reachable = [](const QPointer<QWidget>& stop) {
            return stop != nullptr && stop->isVisible() && stop->isEnabled();
        };
        const auto first =
            next ? std::find_if(m_tabStops.begin(), m_tabStops.end(), reachable)
                 : std::find_if(m_tabStops.rbegin(), m_tabStops.rend(), reachable).base();
        if (next ? first != m_tabStops.end() : first != m_tabStops.begin()) {
            QWidget* stop = next ? first->data() : std::prev(first)->data();
            stop->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return QDialog::focusNextPrevChild(next);
}

void CBaseDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // A 2× picture on a screen of a fractional ratio is scaled down, smoothly.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(0, 0, m_background);
}

void CBaseDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    // Nothing moves yet: a click (a press and its release with no motion, as a tap gives) must
    // not leave a move running that the release did not end.
    m_pressed = true;
    m_dragging = false;
    m_pressAt = event->globalPosition().toPoint();
}

void CBaseDialog::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressed || !(event->buttons() & Qt::LeftButton)) {
        m_pressed = m_dragging = false;
        QDialog::mouseMoveEvent(event);
        return;
    }
    const QPoint at = event->globalPosition().toPoint();
    if (m_dragging) {
        move(at - m_dragOffset);
        return;
    }
    if ((at - m_pressAt).manhattanLength() < QApplication::startDragDistance()) {
        return;
    }
    // The button is held and the pointer has moved: let the window system move the window where
    // it can (it ends the move on the release); otherwise follow the pointer ourselves.
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) {
        m_pressed = false;
        return;
    }
    m_dragging = true;
    m_dragOffset = m_pressAt - frameGeometry().topLeft();
    move(at - m_dragOffset);
}

void CBaseDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressed = m_dragging = false;
    }
    QDialog::mouseReleaseEvent(event);
}

void CBaseDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // The focused button has taken its own Enter; no default button is pressed for it.
            event->accept();
            return;
        case Qt::Key_Escape:
            // Through the close event, which each dialog answers as its Cancel does.
            event->accept();
            close();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

}  // namespace korvel
