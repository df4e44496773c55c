#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/image/config_store.h"
#include "model/macros/macro_record.h"

namespace korvel {

// The keyboard's macro area: a 16-byte header, one u16 offset per macro, then the macros' entries
// with their actions encoded in four bytes each and, when there is room, their names.
inline constexpr std::uint16_t kMacroBlobMagic = 0x55AA;
inline constexpr std::uint32_t kMacroBlobHeaderBytes = 16;
inline constexpr std::uint32_t kMacroDelayStepMs = 10;
// Longest delay the 12-bit field holds, in steps of 10 ms.
inline constexpr std::uint32_t kMaxEncodedDelaySteps = 0x0FFF;

struct MacroBlobSizes {
    std::uint32_t fullSize = 0;  // with names
    std::uint32_t bareSize = 0;  // without names
    friend bool operator==(const MacroBlobSizes&, const MacroBlobSizes&) = default;
};

MacroBlobSizes MeasureMacros(std::span<const MacroRecord> macros);
// Measures the holder's macros under its lock.
MacroBlobSizes MeasureMacroBlob(const ConfigHolder& holder);

enum class BlobFormOutcome { WithNames, WithoutNames, Refused };

// Refused: the macros do not fit even without names; nothing may be sent, show the message.
// WithoutNames: send the bare area, and once the download is over show the message.
inline constexpr std::u16string_view kMacroSpaceExceededMessage =
    u"Macro space exceeds the hardware space.\r\n Please reduce the number of macros or macro "
    u"action number\uFF0Cand then download.";
inline constexpr std::string_view kNamesDroppedMessageKey = "EXTRA_PROFILE_SPACE_TIGHT";
inline constexpr std::u16string_view kNamesDroppedMessage =
    u"shortage of hardware space, cancelled the macro name of storage.";

struct BlobForm {
    BlobFormOutcome outcome = BlobFormOutcome::Refused;
    std::uint16_t size = 0;  // bytes to build and send; 0 when refused
    bool withNames = false;
    // The message to show: the language key of its localised text (empty when the text is not
    // in the language file) and its built-in text; both empty when there is nothing to say.
    std::string_view messageKey;
    std::u16string_view message;
};

// The capacity rule. The area's size field is 16 bits, so a size over 0xFFFF never fits.
BlobForm ChooseBlobForm(const MacroBlobSizes& sizes, std::uint32_t capacityBytes);
// Measures the holder (the download measures ActiveConfig) and applies the rule.
BlobForm ChooseBlobForm(const ConfigHolder& holder, std::uint32_t capacityBytes);

// The area of exactly totalSize bytes; none when the macros need more than totalSize bytes.
// Delays over 40950 ms are sent as 40950 ms rather than wrapped.
std::optional<std::vector<std::uint8_t>> BuildMacroBlob(std::span<const MacroRecord> macros,
                                                        std::uint16_t totalSize, bool withNames);
std::optional<std::vector<std::uint8_t>> BuildMacroBlob(const ConfigHolder& holder,
                                                        std::uint16_t totalSize, bool withNames);

// The head of a macro area: its magic, its size field and its macro count.
struct MacroAreaHeader {
    std::uint16_t totalSize = 0;
    std::uint16_t macroCount = 0;
};
// None when the bytes do not start with the magic (an area without it holds no macros) or are too
// short for the size and count.
std::optional<MacroAreaHeader> ReadMacroAreaHeader(std::span<const std::uint8_t> head);

struct ParsedMacroArea {
    std::vector<MacroRecord> records;
    // Something in the area pointed outside it, claimed more than it held or more macros or
    // actions than a configuration carries; what could be read is in records.
    bool damaged = false;
};

// Turns an area read from the keyboard into records with ids 1..n in area order. Every offset and
// entry is bounded by the area's size field and by the bytes actually given. Macros without a name
// are named newMacroPrefix followed by their number.
ParsedMacroArea ParseMacroBlob(std::span<const std::uint8_t> blob,
                               std::u16string_view newMacroPrefix);

}  // namespace korvel
