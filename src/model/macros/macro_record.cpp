#include "model/macros/macro_record.h"

#include <algorithm>
#include <array>

namespace korvel {

std::uint16_t LowestFreeMacroId(std::span<const MacroRecord> records) {
    for (std::uint16_t id = 1; id <= kMaxMacros; ++id) {
        const bool used = std::any_of(records.begin(), records.end(),
                                      [id](const MacroRecord& r) { return r.macroId == id; });
        if (!used) {
            return id;
        }
    }
    return 0;
}

void WriteMacroRecord(ByteWriter& writer, const MacroRecord& record) {
    const std::size_t start = writer.Size();
    std::u16string_view name = record.name;
    name = name.substr(0, std::min(name.find(u'\0'), std::size_t{kMacroNameUnits - 1}));
    for (char16_t c : name) {
        writer.WriteU16LittleEndian(c);
    }
    writer.WriteZeros(2 * (kMacroNameUnits - name.size()));
    writer.WriteU8(record.loopCount);
    writer.WriteU8(record.reserved1);
    writer.WriteU16LittleEndian(record.isNew);
    writer.WriteU16LittleEndian(record.playMode);
    writer.WriteU16LittleEndian(record.macroId);
    const std::size_t count = std::min(record.actions.size(), std::size_t{kMaxMacroActions});
    writer.WriteU16LittleEndian(static_cast<std::uint16_t>(count));
    writer.WriteU16LittleEndian(record.reserved2);
    for (std::size_t i = 0; i < count; ++i) {
        writer.WriteU32LittleEndian(record.actions[i].delayMs);
        writer.WriteU16LittleEndian(record.actions[i].key);
        writer.WriteU16LittleEndian(record.actions[i].direction);
    }
    writer.WriteZeros(kMacroRecordBytes - (writer.Size() - start));
}

bool ReadMacroRecord(ByteReader& source, MacroRecord& record) {
    std::vector<std::uint8_t> bytes(kMacroRecordBytes);
    if (!source.ReadBytes(bytes)) {
        return false;
    }
    ByteReader reader(bytes);
    MacroRecord out;
    std::array<char16_t, kMacroNameUnits> name{};
    for (char16_t& c : name) {
        std::uint16_t unit = 0;
        reader.ReadU16LittleEndian(unit);
        c = unit;
    }
    std::size_t length = 0;
    while (length < kMacroNameUnits - 1 && name[length] != u'\0') {
        ++length;
    }
    out.name.assign(name.data(), length);
    std::uint16_t actionCount = 0;
    reader.ReadU8(out.loopCount);
    reader.ReadU8(out.reserved1);
    reader.ReadU16LittleEndian(out.isNew);
    reader.ReadU16LittleEndian(out.playMode);
    reader.ReadU16LittleEndian(out.macroId);
    reader.ReadU16LittleEndian(actionCount);
    reader.ReadU16LittleEndian(out.reserved2);
    if (actionCount > kMaxMacroActions) {
        return false;
    }
    out.actions.resize(actionCount);
    for (MacroAction& action : out.actions) {
        reader.ReadU32LittleEndian(action.delayMs);
        reader.ReadU16LittleEndian(action.key);
        reader.ReadU16LittleEndian(action.direction);
    }
    record = std::move(out);
    return true;
}

}  // namespace korvel
