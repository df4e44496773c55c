#include "model/keys/key_table_codec.h"

#include "model/keys/key_codec.h"
#include "model/keys/key_entry_code.h"

namespace korvel {
namespace {

void PutCode(KeyTableBytes& table, int position, DeviceKeyCode code) {
    table[static_cast<std::size_t>(3 * position)] = code.b0;
    table[static_cast<std::size_t>(3 * position + 1)] = code.b1;
    table[static_cast<std::size_t>(3 * position + 2)] = code.b2;
}

int MediaIndexOfUsage(std::uint16_t usage) {
    const auto media = MediaKeyTable();
    for (std::size_t i = 0; i < media.size(); ++i) {
        if (media[i].consumerUsage == usage) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// What one code read back from the keyboard assigns to its key; "disabled" for any code the tool
// never sends.
KeyEntry DecodeKeyCode(DeviceKeyCode d) {
    KeyEntry entry;
    entry.type = kEntryDisabled;
    if (d.b0 == 0x05) {
        if (d.b1 == 0x01) {
            entry.type = kEntryMacro;
            entry.value = static_cast<std::uint32_t>(d.b2) + 1;
        } else if (d.b1 == 0x02) {
            entry.type = kEntryStopMacro;
        } else if (d.b1 == 0x05) {
            entry.type = kEntryFunction;
            entry.value = d.b2;
        }
    } else if (d.b0 == 0x03) {
        const int media = MediaIndexOfUsage(static_cast<std::uint16_t>(d.b1 | d.b2 << 8));
        if (media >= 0) {
            entry.type = kEntryMedia;
            entry.value = static_cast<std::uint32_t>(media);
        }
    } else if (d.b0 == 0x02 && d.b1 == 0x02) {
        // Only a key that is sent back as a keyboard code: a usage that names a media or system
        // key in the shared code space would go back as 02 02 00 and change the keyboard.
        if (const ScanCode sc = HidUsageToScan(kPageKeyboard, d.b2);
            sc != 0 && ScanToHidUsage(sc).page == kPageKeyboard) {
            entry.type = kEntryKey;
            entry.value = sc;
        }
    } else if (d.b0 == 0x02 && d.b1 == 0x01) {
        // No modifier bit names no key: the code stays "disabled", which is sent back as it reads.
        if (const ScanCode sc = ModifierScanOf(d.b2); sc != 0) {
            entry.type = kEntryKey;
            entry.value = sc;
        }
    }
    return entry;
}

}  // namespace

KeyTableBytes EncodeKeyTable(const ProfileBlock& block, const KeyTableBytes& defaultTable,
                             const MacroPositionOf& macroPosition) {
    KeyTableBytes table = defaultTable;
    for (int k = 0; k < kMatrixPositions; ++k) {
        const DeviceKeyCode defaultCode = KeyCodeAt(defaultTable, k);
        const ScanCode sc = DeviceCodeToScan(defaultCode);
        if (sc == 0) {
            continue;
        }
        const KeyEntry& entry = block[SlotOfScan(sc)];
        std::uint8_t position = 0;
        if (entry.type == kEntryMacro && macroPosition) {
            position = static_cast<std::uint8_t>(
                macroPosition(static_cast<std::uint16_t>(entry.value & 0xFFFF)) & 0xFF);
        }
        PutCode(table, k, EncodeKeyEntry(entry, defaultCode, position));
    }
    return table;
}

void DecodeKeyTable(const KeyTableBytes& keyTable, ProfileBlock& profileBlock,
                    const KeyTableBytes& defaultTable) {
    profileBlock = FreshProfileBlock();
    for (int k = 0; k < kMatrixPositions; ++k) {
        const DeviceKeyCode d = KeyCodeAt(keyTable, k);
        const DeviceKeyCode f = KeyCodeAt(defaultTable, k);
        if (d == f) {
            continue;
        }
        const ScanCode sc = DeviceCodeToScan(f);
        if (sc == 0) {
            continue;
        }
        KeyEntry& entry = profileBlock[SlotOfScan(sc)];
        const KeyEntry decoded = DecodeKeyCode(d);
        entry.type = decoded.type;
        entry.value = decoded.value;
    }
}

}  // namespace korvel
