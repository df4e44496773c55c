#pragma once

#include <QObject>
#include <array>

#include "model/keys/key_buttons.h"
#include "model/keys/key_codes.h"
#include "model/keys/key_tip.h"

namespace korvel {

class DialogSkin;
class CPngButton;
class EditingHolder;
class KeyCodec;
struct SkinSurfaces;

// The keyboard view: 104 key buttons, the nine G keys (bank A) and Fn, laid out from the skin.
// It shows what each key is set to (checked look and tip) and reports clicks by control id.
class KeyGrid : public QObject {
    Q_OBJECT

public:
    KeyGrid(QWidget* dialog, const DialogSkin& skin, const SkinSurfaces* surfaces,
            const KeyCodec& codec);

    CPngButton* KeyButton(int index) const { return m_keys[index]; }
    CPngButton* GKeyButton(int n) const { return m_gKeys[n - 1]; }
    CPngButton* FnButton() const { return m_fn; }
    // The button of a control id, null for controls that are not keys.
    CPngButton* ButtonOfControl(int controlId) const;
    // The button of a key of the lighting grid (0..113: keys, Fn, G1..G9), null outside it.
    CPngButton* ButtonOfGridKey(int gridKey) const;
    // The lighting-grid index of a key, G key or Fn button's control id, -1 for other controls.
    int GridKeyOfControl(int controlId) const;
    // The profile-block slot a control id edits: the key's slot or the G key's slot; -1 for Fn
    // and other controls.
    int SlotOfControl(int controlId) const;

    void SetTipTexts(const KeyTipTexts& texts) { m_tipTexts = texts; }
    // What a screen reader says of a key: "A" + `separator` + what it does ("A, sends B"), or
    // "A" + `ownFunction` for a key that keeps its own.
    void SetNameTexts(std::u16string separator, std::u16string ownFunction);

    // Every key and G-key button shows its entry of `profile` in the editing image. Call with the
    // editing lock held.
    void RefreshKeyButtons(const EditingHolder& editing, int profile);
    // The button of `slot` shows the default look; slots of no button change nothing.
    void ResetKeyButton(int slot);
    // Zeroes the entries of every button's slot in `profile` (other slots stay) and shows them
    // as defaults. Takes the editing lock.
    void ResetProfileKeys(EditingHolder& editing, int profile);

signals:
    void keyClicked(int controlId);

private:
    CPngButton* MakeButton(QWidget* dialog, int controlId, const DialogSkin& skin,
                           const QString& entry, const SkinSurfaces* surfaces);
    CPngButton* ButtonOfSlot(int slot) const;
    void ShowTip(CPngButton* button, std::u16string_view label, const KeyEntry& entry,
                 const std::vector<MacroRecord>& macros) const;
    std::u16string LabelOfSlot(int slot) const;

    const KeyCodec& m_codec;
    KeyTipTexts m_tipTexts;
    KeyTipTexts m_nameTexts;
    std::u16string m_ownFunction;
    std::array<CPngButton*, kKeyButtons> m_keys{};
    std::array<CPngButton*, kGKeyButtons> m_gKeys{};
    CPngButton* m_fn = nullptr;
    std::array<CPngButton*, kLightingGridKeys> m_byGridKey{};
};

}  // namespace korvel
