#include "gui/mainwnd/key_grid.h"

#include "gui/skin/dialog_skin.h"
#include "gui/widgets/png_button.h"
#include "gui/widgets/skin_placement.h"
#include "model/image/config_store.h"
#include "model/keys/key_codec.h"
#include "model/keys/led_index.h"

namespace korvel {
namespace {

const QString kButtonInfo = QStringLiteral("BUTTONINFO");

int GSlot(int n) {
    return GKeySlot(n, GKeyBank::A);
}

}  // namespace

KeyGrid::KeyGrid(QWidget* dialog, const DialogSkin& skin, const SkinSurfaces* surfaces,
                 const KeyCodec& codec)
    : QObject(dialog), m_codec(codec) {
    for (int n = 1; n <= kGKeyButtons; ++n) {
        m_gKeys[n - 1] = MakeButton(dialog, GKeyControlId(n), skin,
                                    QString::fromStdString(GKeySkinName(n)), surfaces);
    }
    for (int i = 0; i < kKeyButtons; ++i) {
        const KeyButtonInfo& info = kKeyButtonTable[i];
        m_keys[i] =
            MakeButton(dialog, info.controlId, skin,
                       QString::fromStdString(KeySkinName(SlotOfScan(info.scan))), surfaces);
    }
    m_fn = MakeButton(dialog, kKeyFn, skin, QStringLiteral("KEY_FN"), surfaces);

    for (int n = 1; n <= kGKeyButtons; ++n) {
        m_byGridKey[GridKeyOfGKey(n)] = m_gKeys[n - 1];
    }
    for (int i = 0; i < kKeyButtons; ++i) {
        m_byGridKey[GridKeyOfScan(kKeyButtonTable[i].scan)] = m_keys[i];
    }
    m_byGridKey[kFnGridKey] = m_fn;
}

CPngButton* KeyGrid::ButtonOfGridKey(int gridKey) const {
    return gridKey >= 0 && gridKey < kLightingGridKeys ? m_byGridKey[gridKey] : nullptr;
}

int KeyGrid::GridKeyOfControl(int controlId) const {
    return GridKeyOfKeyControl(controlId);
}

CPngButton* KeyGrid::MakeButton(QWidget* dialog, int controlId, const DialogSkin& skin,
                                const QString& entry, const SkinSurfaces* surfaces) {
    auto* button = new CPngButton(dialog);
    button->setObjectName(entry);
    PlaceImageButton(button, skin, kButtonInfo, entry, surfaces);
    connect(button, &QAbstractButton::clicked, this,
            [this, controlId] { emit keyClicked(controlId); });
    return button;
}

CPngButton* KeyGrid::ButtonOfControl(int controlId) const {
    return ButtonOfGridKey(GridKeyOfKeyControl(controlId));
}

int KeyGrid::SlotOfControl(int controlId) const {
    return SlotOfKeyControl(controlId);
}

CPngButton* KeyGrid::ButtonOfSlot(int slot) const {
    return ButtonOfControl(KeyControlOfSlot(slot));
}

std::u16string KeyGrid::LabelOfSlot(int slot) const {
    return m_codec.SlotLabel(slot);
}

void KeyGrid::SetNameTexts(std::u16string separator, std::u16string ownFunction) {
    m_nameTexts = m_tipTexts;
    m_nameTexts.set = std::move(separator);
    m_ownFunction = std::move(ownFunction);
}

void KeyGrid::ShowTip(CPngButton* button, std::u16string_view label, const KeyEntry& entry,
                      const std::vector<MacroRecord>& macros) const {
    const KeyTip tip = KeyTipText(label, entry, m_codec, macros, m_tipTexts);
    button->SetChecked(tip.assigned);
    button->SetTooltip(QString::fromStdU16String(tip.text));
    const KeyTip said = KeyTipText(label, entry, m_codec, macros, m_nameTexts);
    button->setAccessibleName(
        QString::fromStdU16String(said.assigned ? said.text : said.text + m_ownFunction));
}

void KeyGrid::RefreshKeyButtons(const EditingHolder& editing, int profile) {
    const ConfigImage* image = editing.Image();
    if (image == nullptr || profile < 0 || profile >= kOnboardProfiles) {
        return;
    }
    auto show = [&](CPngButton* button, int slot) {
        ShowTip(button, LabelOfSlot(slot), image->blocks[profile][slot], editing.Macros());
    };
    for (int n = 1; n <= kGKeyButtons; ++n) {
        show(m_gKeys[n - 1], GSlot(n));
    }
    for (int i = 0; i < kKeyButtons; ++i) {
        show(m_keys[i], SlotOfScan(kKeyButtonTable[i].scan));
    }
}

void KeyGrid::ResetKeyButton(int slot) {
    if (CPngButton* button = ButtonOfSlot(slot)) {
        ShowTip(button, LabelOfSlot(slot), KeyEntry{}, {});
    }
}

void KeyGrid::ResetProfileKeys(EditingHolder& editing, int profile) {
    auto lock = editing.Lock();
    ConfigImage* image = editing.Image();
    if (image == nullptr || profile < 0 || profile >= kOnboardProfiles) {
        return;
    }
    for (int n = 1; n <= kGKeyButtons; ++n) {
        image->blocks[profile][GSlot(n)] = KeyEntry{};
        ResetKeyButton(GSlot(n));
    }
    for (const KeyButtonInfo& info : kKeyButtonTable) {
        image->blocks[profile][SlotOfScan(info.scan)] = KeyEntry{};
        ResetKeyButton(SlotOfScan(info.scan));
    }
}

}  // namespace korvel
