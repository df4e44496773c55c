#include "model/keys/g_key_play.h"

#include <array>

namespace korvel {
namespace {

constexpr ScanCode kLeftCtrl = 0x01D;

// The letter of each keyboard function's shortcut, in function-table order: Open, New, Undo,
// Save, Copy, Cut, Paste, Find, Select All.
constexpr std::array<ScanCode, kFunctionKeys> kFunctionLetters = {
    0x018,  // O
    0x031,  // N
    0x02C,  // Z
    0x01F,  // S
    0x02E,  // C
    0x02D,  // X
    0x02F,  // V
    0x021,  // F
    0x01E,  // A
};

}  // namespace

std::vector<ScanCode> FunctionShortcut(std::uint32_t functionIndex) {
    if (functionIndex >= kFunctionLetters.size()) {
        return {};
    }
    return {kLeftCtrl, kFunctionLetters[functionIndex]};
}

GKeyPlay GKeyPlayOf(const ConfigHolder& holder, int block, int slot) {
    GKeyPlay play;
    if (block < 0 || block >= kProfileBlocks || GKeyNumberOfSlot(slot) == 0) {
        return play;
    }
    auto lock = holder.Lock();
    const ConfigImage* image = holder.Image();
    if (image == nullptr) {
        return play;
    }
    const KeyEntry& entry =
        image->blocks[static_cast<std::size_t>(block)][static_cast<std::size_t>(slot)];
    switch (entry.type) {
        case kEntryKey:
            if (entry.value != 0 && entry.value <= 0x1FF) {
                play.kind = GKeyPlay::Kind::Keys;
                play.keys = {static_cast<ScanCode>(entry.value)};
            }
            break;
        case kEntryMedia:
            if (entry.value < static_cast<std::uint32_t>(kMediaKeys)) {
                play.kind = GKeyPlay::Kind::Keys;
                play.keys = {MediaKeyTable()[entry.value].scan};
            }
            break;
        case kEntryFunction:
            play.keys = FunctionShortcut(entry.value);
            if (!play.keys.empty()) {
                play.kind = GKeyPlay::Kind::Keys;
            }
            break;
        case kEntryMacro:
            for (const MacroRecord& macro : holder.Macros()) {
                if (macro.macroId == entry.value && !macro.actions.empty()) {
                    play.kind = GKeyPlay::Kind::Macro;
                    play.actions = macro.actions;
                    // A G key given a macro carries the cycles in aux, where it otherwise keeps
                    // its code; a value of 0 or a code means none were given.
                    const bool ownCycles = entry.aux >= 1 && entry.aux <= 255;
                    play.cycles =
                        ownCycles ? entry.aux : (macro.loopCount > 0 ? macro.loopCount : 1);
                    break;
                }
            }
            break;
        case kEntryStopMacro:
            play.kind = GKeyPlay::Kind::StopMacro;
            break;
        default:
            // The default function, disabled, and programs and texts (which the G keys cannot be
            // given in the window) play nothing.
            break;
    }
    return play;
}

}  // namespace korvel
