#pragma once

#include <cstdint>
#include <optional>

#include "model/keys/key_codes.h"
#include "model/keys/key_entry.h"
#include "model/keys/key_entry_edit.h"

namespace korvel {

// The pages of the key editor: what a key can be made to do.
enum class KeyPage { SingleKey, Macro, Media, Function };

// A macro as the macro page shows it; macro id 0 is no macro.
struct MacroChoice {
    std::uint16_t macroId = 0;
    std::uint8_t cycles = 1;
    friend bool operator==(const MacroChoice&, const MacroChoice&) = default;
};

// The key editor's state and rules for one key, without its widgets. Looking is not choosing: the
// pages show what the key holds, or what the user chose for it, and showing another page changes
// neither. Only a choice (a key taken, a list item picked, Clear) is written, so a key whose
// entry the editor cannot make (disabled, a program, a text, stop-macro) keeps it unless the
// user chooses something else.
class KeyEditing {
public:
    // Starts editing the entry at `slot` of a profile block (a KeySlot or a G key's slot). The
    // entry's page is shown (single key for entries of no page); macroOnly (G9): the macro page
    // is the only one, and Clear does nothing.
    void Open(int slot, const KeyEntry& entry, bool macroOnly);

    int Slot() const { return m_slot; }
    bool MacroOnly() const { return m_macroOnly; }
    KeyPage Page() const { return m_page; }
    // False when the page is already shown or may not be shown.
    bool ShowPage(KeyPage page);

    // A key from the keyboard while the single-key page is shown. It is taken on its press, or on
    // its release when it delivers no press (KeyDeliversNoPress); auto-repeats are ignored.
    // Returns whether it was taken.
    bool OfferKey(ScanCode key, bool release, bool autoRepeat);
    // Choices of the shown page; false (nothing chosen) when the page is not shown or the index
    // is outside its list.
    bool ChooseMedia(int index);
    bool ChooseFunction(int index);
    // Cycles 0 reads as 1.
    bool ChooseMacro(std::uint16_t macroId, std::uint8_t cycles);
    // The key goes back to its default: the single-key page is shown, with no key.
    void Clear();

    // What the pages show: the key (0: none), the media or function index (-1: none), the macro
    // (id 0: none). At most one page shows something.
    ScanCode ShownKey() const;
    int ShownMedia() const;
    int ShownFunction() const;
    MacroChoice ShownMacro() const;

    // Whether something was chosen since Open or the last Applied (what enables Apply).
    bool Chosen() const { return m_chosen; }
    // What OK or Apply writes (see BuildEditedEntry): the last choice; nothing when nothing was
    // chosen, so that the entry stays as it is.
    std::optional<KeyEdit> Edit() const;
    // The choice was written: it is now what the key holds.
    void Applied() { m_chosen = false; }

private:
    void Choose(const KeyEdit& edit);

    int m_slot = 0;
    bool m_macroOnly = false;
    KeyPage m_page = KeyPage::SingleKey;
    // What the key holds, or what the user chose for it; an entry the editor cannot make shows
    // as kEntryDefault (nothing on any page).
    KeyEdit m_shown;
    bool m_chosen = false;
};

}  // namespace korvel
