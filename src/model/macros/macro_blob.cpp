#include "model/macros/macro_blob.h"

#include <algorithm>
#include <string>

#include "model/keys/key_codes.h"

namespace korvel {
namespace {

std::size_t NameLength(const MacroRecord& record) {
    const std::size_t length = std::min(record.name.find(u'\0'), record.name.size());
    return std::min(length, std::size_t{kMacroNameUnits - 1});
}

std::size_t ActionCount(const MacroRecord& record) {
    return std::min(record.actions.size(), std::size_t{kMaxMacroActions});
}

void WriteEncodedAction(ByteWriter& writer, const MacroAction& action) {
    const std::uint32_t steps = std::min(action.delayMs / kMacroDelayStepMs, kMaxEncodedDelaySteps);
    const HidUsage usage = ScanToHidUsage(action.key);
    std::uint16_t keyClass = 0;
    std::uint8_t byte2 = 0;
    std::uint8_t byte3 = 0;
    if (usage.page == kPageKeyboard) {
        keyClass = 2;
        if (const std::uint8_t bit = ModifierBitOf(action.key); bit != 0) {
            byte2 = 1;
            byte3 = bit;
        } else {
            byte2 = 2;
            byte3 = static_cast<std::uint8_t>(usage.usage);
        }
    } else if (usage.page == kPageConsumer) {
        keyClass = 3;
        byte2 = static_cast<std::uint8_t>(usage.usage & 0xFF);
        byte3 = static_cast<std::uint8_t>(usage.usage >> 8);
    } else if (usage.page == kPageGenericDesktop) {
        keyClass = 4;
        byte2 = static_cast<std::uint8_t>(usage.usage);
    }
    const std::uint16_t press = action.direction == kMacroPress ? 0x8000 : 0;
    writer.WriteU16LittleEndian(static_cast<std::uint16_t>(steps | keyClass << 12 | press));
    writer.WriteU8(byte2);
    writer.WriteU8(byte3);
}

}  // namespace

MacroBlobSizes MeasureMacros(std::span<const MacroRecord> macros) {
    MacroBlobSizes sizes;
    sizes.bareSize = kMacroBlobHeaderBytes + 2 * static_cast<std::uint32_t>(macros.size());
    sizes.fullSize = sizes.bareSize;
    for (const MacroRecord& record : macros) {
        const auto entry = static_cast<std::uint32_t>(4 + 4 * ActionCount(record));
        sizes.bareSize += entry;
        sizes.fullSize += entry + 2 * static_cast<std::uint32_t>(NameLength(record));
    }
    return sizes;
}

MacroBlobSizes MeasureMacroBlob(const ConfigHolder& holder) {
    auto lock = holder.Lock();
    return MeasureMacros(holder.Macros());
}

BlobForm ChooseBlobForm(const MacroBlobSizes& sizes, std::uint32_t capacityBytes) {
    const std::uint32_t room = std::min<std::uint32_t>(capacityBytes, 0xFFFF);
    BlobForm form;
    if (sizes.bareSize > room) {
        form.outcome = BlobFormOutcome::Refused;
        form.message = kMacroSpaceExceededMessage;
    } else if (sizes.fullSize <= room) {
        form.outcome = BlobFormOutcome::WithNames;
        form.size = static_cast<std::uint16_t>(sizes.fullSize);
        form.withNames = true;
    } else {
        form.outcome = BlobFormOutcome::WithoutNames;
        form.size = static_cast<std::uint16_t>(sizes.bareSize);
        form.messageKey = kNamesDroppedMessageKey;
        form.message = kNamesDroppedMessage;
    }
    return form;
}

BlobForm ChooseBlobForm(const ConfigHolder& holder, std::uint32_t capacityBytes) {
    return ChooseBlobForm(MeasureMacroBlob(holder), capacityBytes);
}

std::optional<std::vector<std::uint8_t>> BuildMacroBlob(std::span<const MacroRecord> macros,
                                                        std::uint16_t totalSize, bool withNames) {
    const MacroBlobSizes sizes = MeasureMacros(macros);
    if ((withNames ? sizes.fullSize : sizes.bareSize) > totalSize) {
        return std::nullopt;
    }
    // The whole area at once: the blob fills totalSize bytes.
    ByteWriter writer(totalSize);
    writer.WriteU16LittleEndian(kMacroBlobMagic);
    writer.WriteU16LittleEndian(totalSize);
    writer.WriteU16LittleEndian(static_cast<std::uint16_t>(macros.size()));
    writer.WriteU16LittleEndian(withNames ? 1 : 0);
    writer.WriteZeros(8);
    // Every size fits in 16 bits: the whole area is at most totalSize bytes.
    std::uint32_t position = kMacroBlobHeaderBytes + 2 * static_cast<std::uint32_t>(macros.size());
    for (const MacroRecord& record : macros) {
        writer.WriteU16LittleEndian(static_cast<std::uint16_t>(position));
        position += static_cast<std::uint32_t>(4 + 4 * ActionCount(record));
        if (withNames) {
            position += static_cast<std::uint32_t>(2 * NameLength(record));
        }
    }
    for (const MacroRecord& record : macros) {
        const std::size_t count = ActionCount(record);
        const std::size_t nameLength = withNames ? NameLength(record) : 0;
        writer.WriteU16LittleEndian(static_cast<std::uint16_t>(count));
        writer.WriteU8(record.loopCount);
        writer.WriteU8(static_cast<std::uint8_t>(nameLength));
        for (std::size_t i = 0; i < count; ++i) {
            WriteEncodedAction(writer, record.actions[i]);
        }
        for (std::size_t i = 0; i < nameLength; ++i) {
            writer.WriteU16LittleEndian(record.name[i]);
        }
    }
    writer.WriteZeros(totalSize - writer.Size());
    return writer.Take();
}

std::optional<std::vector<std::uint8_t>> BuildMacroBlob(const ConfigHolder& holder,
                                                        std::uint16_t totalSize, bool withNames) {
    auto lock = holder.Lock();
    return BuildMacroBlob(holder.Macros(), totalSize, withNames);
}

std::optional<MacroAreaHeader> ReadMacroAreaHeader(std::span<const std::uint8_t> head) {
    ByteReader reader(head);
    std::uint16_t magic = 0;
    MacroAreaHeader header;
    if (!reader.ReadU16LittleEndian(magic) || magic != kMacroBlobMagic ||
        !reader.ReadU16LittleEndian(header.totalSize) ||
        !reader.ReadU16LittleEndian(header.macroCount)) {
        return std::nullopt;
    }
    return header;
}

ParsedMacroArea ParseMacroBlob(std::span<const std::uint8_t> blob,
                               std::u16string_view newMacroPrefix) {
    ParsedMacroArea area;
    const std::optional<MacroAreaHeader> header = ReadMacroAreaHeader(blob);
    if (!header) {
        // No macro area at all, or one whose head is cut short.
        area.damaged = blob.size() >= 2 && (blob[0] | blob[1] << 8) == kMacroBlobMagic;
        return area;
    }
    const std::uint16_t totalSize = header->totalSize;
    const std::uint16_t count = header->macroCount;
    if (totalSize > blob.size()) {
        area.damaged = true;
    }
    // Nothing past the area's own size belongs to it.
    const std::span<const std::uint8_t> bounded =
        blob.first(std::min<std::size_t>(blob.size(), totalSize));
    std::size_t n = count;
    if (n > kMaxMacros) {
        area.damaged = true;
        n = kMaxMacros;
    }
    if (bounded.size() < kMacroBlobHeaderBytes) {
        area.damaged = true;
        return area;
    }
    const std::size_t offsetsFit = (bounded.size() - kMacroBlobHeaderBytes) / 2;
    if (n > offsetsFit) {
        area.damaged = true;
        n = offsetsFit;
    }
    ByteReader offsets(bounded.subspan(kMacroBlobHeaderBytes));
    for (std::size_t i = 0; i < n; ++i) {
        std::uint16_t offset = 0;
        offsets.ReadU16LittleEndian(offset);
        MacroRecord record;
        record.macroId = static_cast<std::uint16_t>(i + 1);
        bool named = false;
        ByteReader entry(offset <= bounded.size() ? bounded.subspan(offset)
                                                  : std::span<const std::uint8_t>{});
        std::uint16_t actionCount = 0;
        std::uint8_t nameLength = 0;
        if (entry.ReadU16LittleEndian(actionCount) && entry.ReadU8(record.loopCount) &&
            entry.ReadU8(nameLength)) {
            const std::size_t wanted = std::min<std::size_t>(actionCount, kMaxMacroActions);
            const std::size_t present = std::min(wanted, entry.Remaining() / 4);
            if (present < actionCount) {
                area.damaged = true;
            }
            record.actions.resize(present);
            for (MacroAction& action : record.actions) {
                std::uint16_t word = 0;
                DeviceKeyCode code;
                entry.ReadU16LittleEndian(word);
                entry.ReadU8(code.b1);
                entry.ReadU8(code.b2);
                code.b0 = static_cast<std::uint8_t>((word >> 12) & 0x7);
                action.delayMs = (word & 0x0FFFu) * kMacroDelayStepMs;
                action.direction = (word & 0x8000) ? kMacroPress : kMacroRelease;
                action.key = DeviceCodeToScan(code);
            }
            if (nameLength != 0 && present == actionCount) {
                std::u16string name;
                for (std::size_t c = 0; c < nameLength; ++c) {
                    std::uint16_t unit = 0;
                    if (!entry.ReadU16LittleEndian(unit)) {
                        break;
                    }
                    name.push_back(static_cast<char16_t>(unit));
                }
                if (entry.Failed()) {
                    area.damaged = true;
                } else {
                    name.resize(std::min(name.find(u'\0'), name.size()));
                    name.resize(std::min(name.size(), std::size_t{kMacroNameUnits - 1}));
                    record.name = std::move(name);
                    named = true;
                }
            }
        } else {
            area.damaged = true;
        }
        if (!named) {
            const std::string number = std::to_string(i + 1);
            record.name =
                std::u16string(newMacroPrefix) + std::u16string(number.begin(), number.end());
        }
        area.records.push_back(std::move(record));
    }
    return area;
}

}  // namespace korvel
