#include "device/sim/keyboard_state_file.h"

#include <array>
#include <cstring>
#include <vector>

#include "base/byte_io.h"
#include "base/crc32.h"
#include "base/file_io.h"

namespace korvel::sim {
namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'K', 'V', 'K', 'B', 'S', 'I', 'M', 0};
constexpr std::uint32_t kVersion = 1;
// Far larger than any valid state; refuses to read a huge foreign file into memory.
constexpr std::uintmax_t kMaxFileBytes = 1 << 20;

std::vector<std::uint8_t> Serialise(const KeyboardMemory& memory) {
    ByteWriter writer;
    writer.WriteBytes(kMagic);
    writer.WriteU32LittleEndian(kVersion);
    writer.WriteU32LittleEndian(static_cast<std::uint32_t>(memory.macroArea.size()));
    writer.WriteBytes(memory.info);
    writer.WriteBytes(memory.params);
    writer.WriteBytes(memory.keyTables);
    writer.WriteBytes(memory.defaultKeyTable);
    writer.WriteBytes(memory.keyColors);
    writer.WriteBytes(memory.macroArea);
    writer.WriteU32LittleEndian(Crc32(writer.Bytes()));
    return writer.Take();
}

}  // namespace

bool ParseKeyboardState(std::span<const std::uint8_t> bytes, KeyboardMemory& memory,
                        std::string& fault) {
    if (bytes.size() < 4) {
        fault = "the file is too short";
        return false;
    }
    const auto body = bytes.first(bytes.size() - 4);
    ByteReader crcReader(bytes.last(4));
    std::uint32_t storedCrc = 0;
    crcReader.ReadU32LittleEndian(storedCrc);

    ByteReader reader(body);
    std::array<std::uint8_t, kMagic.size()> magic{};
    std::uint32_t version = 0;
    std::uint32_t macroBytes = 0;
    if (!reader.ReadBytes(magic) || magic != kMagic) {
        fault = "it is not a virtual keyboard state file";
        return false;
    }
    if (!reader.ReadU32LittleEndian(version) || version != kVersion) {
        fault = "its version " + std::to_string(version) + " is not supported";
        return false;
    }
    if (Crc32(body) != storedCrc) {
        fault = "its check sum does not match (the file is damaged)";
        return false;
    }
    KeyboardMemory loaded;
    reader.ReadU32LittleEndian(macroBytes);
    if (macroBytes > kMaxMacroCapacity || macroBytes % kMacroCapacityUnit != 0) {
        fault = "its macro area of " + std::to_string(macroBytes) + " bytes is impossible";
        return false;
    }
    loaded.macroArea.resize(macroBytes);
    reader.ReadBytes(loaded.info);
    reader.ReadBytes(loaded.params);
    reader.ReadBytes(loaded.keyTables);
    reader.ReadBytes(loaded.defaultKeyTable);
    reader.ReadBytes(loaded.keyColors);
    reader.ReadBytes(loaded.macroArea);
    if (reader.Failed() || reader.Remaining() != 0) {
        fault = "its length does not match its contents";
        return false;
    }
    if (static_cast<std::uint32_t>(loaded.MacroCapacity()) != macroBytes) {
        fault = "its macro area does not match the capacity its information block announces";
        return false;
    }
    memory = std::move(loaded);
    return true;
}

StateLoad LoadKeyboardState(const std::filesystem::path& path, KeyboardMemory& memory,
                            std::string& error) {
    const FileBytes file = ReadFileBytes(path, kMaxFileBytes);
    const std::string where = "The virtual keyboard state file " + path.string();
    switch (file.status) {
        case FileReadStatus::Missing:
            memory = MakeFactoryMemory();
            return StateLoad::Missing;
        case FileReadStatus::TooLarge:
            error = where + " cannot be used: it is far too large.";
            return StateLoad::Failed;
        case FileReadStatus::Unreadable:
            error = where + " cannot be read.";
            return StateLoad::Failed;
        case FileReadStatus::Ok:
            break;
    }
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(file.bytes.data()),
                          file.bytes.size());
    std::string fault;
    if (!ParseKeyboardState(bytes, memory, fault)) {
        error = where + " cannot be used: " + fault + ".";
        return StateLoad::Failed;
    }
    return StateLoad::Loaded;
}

bool SaveKeyboardState(const std::filesystem::path& path, const KeyboardMemory& memory,
                       std::string& error) {
    const std::vector<std::uint8_t> bytes = Serialise(memory);
    if (const FileWriteResult written = ReplaceFile(path, bytes); !written) {
        error = "The virtual keyboard state cannot be saved as " + path.string() + ": " +
                written.Reason() + ".";
        return false;
    }
    return true;
}

}  // namespace korvel::sim
