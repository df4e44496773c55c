#include "gui/mainwnd/flip_controls.h"

#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/mainwnd/window_parts.h"
#include "gui/skin/skin_surfaces.h"
#include "gui/widgets/keyboard_focus.h"
#include "gui/widgets/png_button.h"
#include "gui/widgets/skin_placement.h"
#include "ports/settings_store.h"

namespace korvel {
namespace {

constexpr std::string_view kFlipValue = "Flip";
const QString kButtonInfo = QStringLiteral("BUTTONINFO");

}  // namespace

FlipControls::FlipControls(WindowParts& parts, FlipSurfaces surfaces, QObject* parent)
    : QObject(parent), m_parts(parts), m_surfaces(surfaces) {}

int FlipControls::Flip() const {
    const auto value = m_parts.settings.ReadString(kProfilesSection, kFlipValue);
    return value && *value == u"1" ? 1 : 0;
}

void FlipControls::Toggle() {
    m_parts.settings.WriteString(kProfilesSection, kFlipValue, Flip() == 0 ? u"1" : u"0");
    Update();
}

void FlipControls::LayOut() {
    QWidget* window = &m_parts.window;
    for (int n = 1; n <= static_cast<int>(m_keys.size()); ++n) {
        auto* key = new CPngButton(window);
        const QString entry = QStringLiteral("FLIP_D%1").arg(n);
        key->setObjectName(entry);
        PlaceImageButton(key, m_parts.skin, kButtonInfo, entry, &m_surfaces.flip);
        // The keyboard's key tables have no place for D1..D6: they show where they are and offer
        // no click that would do nothing.
        MakeShowOnly(*key);
        m_keys[static_cast<std::size_t>(n - 1)] = key;
    }
    for (CPngButton** arrow : {&m_leftArrow, &m_rightArrow}) {
        *arrow = new CPngButton(window);
        (*arrow)->setObjectName(arrow == &m_leftArrow ? QStringLiteral("LEFT_ARROW")
                                                      : QStringLiteral("RIGHT_ARROW"));
        MakeShowOnly(**arrow);
    }
    for (int toggle : {kFlipToggleLeft, kFlipToggleRight}) {
        connect(m_parts.Control(toggle), &QAbstractButton::clicked, this, &FlipControls::Toggle);
        m_parts.Control(toggle)->setAccessibleName(
            QString::fromStdU16String(m_parts.Caption("A11Y_FLIP")));
        // The arrow above a toggle follows when the toggle shows its hover face.
        m_parts.Control(toggle)->SetAfterDraw([this, toggle](CPngButton& button, bool) {
            if (button.IsHovered()) {
                ShowArrow(toggle);
            }
        });
        ShowArrow(toggle);
    }
}

void FlipControls::ShowArrow(int toggleId) {
    const bool left = toggleId == kFlipToggleLeft;
    const QString face = QStringLiteral("%1%2")
                             .arg(QString::fromLatin1(Flip() == 1 ? "UP_ARROW_" : "DOWN_ARROW_") +
                                  (left ? QStringLiteral("LEFT") : QStringLiteral("RIGHT")))
                             .arg(1);
    CPngButton* arrow = left ? m_leftArrow : m_rightArrow;
    PlaceImageButtonAt(arrow, m_parts.skin, kButtonInfo, arrow->objectName(),
                       QStringLiteral("BUTTONINFO2"), face, &m_surfaces.arrow);
    arrow->update();
}

void FlipControls::Update() {
    const bool flipped = Flip() == 1;
    // F1..F4 and D1..D6 share their place: only the set of the current flip value is there.
    for (int id : {kKeyF1, kKeyF2, kKeyF3, kKeyF4}) {
        CPngButton* key = m_parts.keys.ButtonOfControl(id);
        key->setEnabled(!flipped);
        key->setVisible(!flipped);
    }
    for (CPngButton* key : m_keys) {
        key->setEnabled(flipped);
        key->setVisible(flipped);
        key->raise();
    }
    const SkinSurfaces& main = m_surfaces.main;
    const SkinSurfaces& set = flipped ? m_surfaces.flip : main;
    SkinSurfaces& indicator = m_surfaces.indicator;
    indicator =
        SkinSurfaces{set.normal, set.normal, set.normal, main.disabled, set.normal, set.atlas};
    for (auto* state : {&indicator.lazyNormal, &indicator.lazyHover, &indicator.lazyPressed,
                        &indicator.lazyChecked}) {
        *state = set.lazyNormal;
    }
    indicator.lazyDisabled = main.lazyDisabled;
    m_parts.Control(kFlipIndicator)->SetStatePictures(&indicator);
    for (int toggle : {kFlipToggleLeft, kFlipToggleRight}) {
        ShowArrow(toggle);
    }
}

}  // namespace korvel
