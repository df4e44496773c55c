#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>

#include "device/default_key_table.h"
#include "model/keys/key_codes.h"

namespace korvel {

// The texts the key tables take from the language file. Each starts as the built-in text and is
// replaced when the texts are loaded.
struct KeyTexts {
    // UNKNOWN_KEY: formatted with the key's ScanCode as its one unsigned argument.
    std::u16string unknownKey = u"Unknown Key: %03x";
    // MEDIA_PALYER_1 .. MEDIA_MAIL_18, by media index.
    std::array<std::u16string, kMediaKeys> mediaNames = MakeFilled(u"Hello world");
    // FUNC_KEY_DESC1 .. FUNC_KEY_DESC9, by function index.
    std::array<std::u16string, kFunctionKeys> functionNames = {
        u"Open", u"New", u"Undo", u"Save", u"Copy", u"Cut", u"Paste", u"Find", u"Select All"};

private:
    static std::array<std::u16string, kMediaKeys> MakeFilled(const char16_t* text) {
        std::array<std::u16string, kMediaKeys> names;
        names.fill(text);
        return names;
    }
};

// Display names of keys are cut to what a 260-unit buffer holds.
inline constexpr std::size_t kKeyNameCapacity = 260;

// The parts of the key numbering that change while the program runs: the localised names and the
// DefaultKeyTable, which the keyboard's own default table replaces when it is connected. The
// presence thread replaces the table while the user-interface thread encodes with it, so every
// access is locked and reads hand out copies.
class KeyCodec {
public:
    KeyCodec();

    void SetTexts(KeyTexts texts);
    KeyTexts Texts() const;

    // The key's display name; the UNKNOWN_KEY text for a ScanCode without one.
    std::u16string KeyNameOf(ScanCode sc) const;
    // The name of a slot of a profile block, as the window's keys and the key editor's title
    // show it: the key's name, or "G1".."G9" for the G keys of either bank.
    std::u16string SlotLabel(int blockSlot) const;
    // Name of media index 0..17 / function index 0..8; empty outside those ranges.
    std::u16string MediaKeyName(int mediaIndex) const;
    std::u16string FunctionKeyName(int functionIndex) const;

    KeyTableBytes DefaultKeyTable() const;
    void ReplaceDefaultKeyTable(const KeyTableBytes& table);
    // Position 0..125 of the current DefaultKeyTable; 00 00 00 outside.
    DeviceKeyCode DefaultCodeAt(int position) const;
    // The key a matrix position belongs to: DeviceCodeToScan of its default code.
    ScanCode ScanOfPosition(int position) const;

private:
    mutable std::mutex m_mutex;
    KeyTexts m_texts;
    KeyTableBytes m_defaultKeyTable;
};

// Formats a printf-style text that takes one unsigned number ("%03x", "%d", ...). Only integer
// conversions are honoured; anything else in the text is copied as it stands, so a damaged
// language file can never make the formatting read an argument that is not there.
std::u16string FormatWithNumber(std::u16string_view format, unsigned value);

// A key table as 126 device key codes.
DeviceKeyCode KeyCodeAt(const KeyTableBytes& table, int position);

}  // namespace korvel
