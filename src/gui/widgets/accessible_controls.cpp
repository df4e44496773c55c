#include "gui/widgets/accessible_controls.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

#include "gui/widgets/image_slider.h"

namespace korvel {
namespace {

// The name a control without one of its own is known by: its caption, else its tooltip.
QString NameOf(const QWidget& control, const QString& caption) {
    QString name = control.accessibleName();
    if (name.isEmpty()) {
        name = caption;
        name.remove(QLatin1Char('&'));
    }
    if (name.isEmpty()) {
        name = control.toolTip();
    }
    return name;
}

class ImageButtonAccessible : public QAccessibleWidget {
public:
    explicit ImageButtonAccessible(QAbstractButton* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    // A picture that takes no clicks (an indicator, a backdrop) is a picture, not a button.
    QAccessible::Role role() const override {
        return widget()->testAttribute(Qt::WA_TransparentForMouseEvents) ? QAccessible::Graphic
                                                                         : QAccessible::Button;
    }

    QString text(QAccessible::Text kind) const override {
        switch (kind) {
            case QAccessible::Name:
                return NameOf(*widget(), Button()->text());
            case QAccessible::Description: {
                // The tooltip, when it says more than the name.
                const QString tip = widget()->toolTip();
                return tip == text(QAccessible::Name) ? QString() : tip;
            }
            default:
                return QAccessibleWidget::text(kind);
        }
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction()) {
            if (Button()->isEnabled()) {
                Button()->click();
            }
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

class ImageSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ImageSliderAccessible(CImageSlider* slider)
        : QAccessibleWidget(slider, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            return NameOf(*widget(), QString());
        }
        if (kind == QAccessible::Value) {
            return QString::number(Slider()->Position());
        }
        return QAccessibleWidget::text(kind);
    }
    QVariant currentValue() const override { return Slider()->Position(); }
    // As the user's own move: the keyboard's lighting follows.
    void setCurrentValue(const QVariant& value) override { Slider()->MoveTo(value.toInt()); }
    QVariant maximumValue() const override { return Slider()->Positions() - 1; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    CImageSlider* Slider() const { return static_cast<CImageSlider*>(widget()); }
};

QAccessibleInterface* SkinnedControls(const QString& className, QObject* object) {
    if (className == QLatin1String("korvel::CPngButton") ||
        className == QLatin1String("korvel::CPictureButton")) {
        return new ImageButtonAccessible(static_cast<QAbstractButton*>(object));
    }
    if (className == QLatin1String("korvel::CImageSlider")) {
        return new ImageSliderAccessible(static_cast<CImageSlider*>(object));
    }
    return nullptr;
}

}  // namespace

void InstallSkinnedAccessibility() {
    static bool installed = false;
    if (!installed) {
        installed = true;
        QAccessible::installFactory(SkinnedControls);
    }
}

}  // namespace korvel
