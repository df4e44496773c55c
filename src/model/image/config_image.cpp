#include "model/image/config_image.h"

#include <new>
#include <vector>

#include "model/keys/key_codes.h"
#include "model/macros/macro_record.h"

namespace korvel {
namespace {

constexpr std::array<std::uint32_t, 8> kDeviceDescriptorWords = {
    0x0020484B, 0x00008020, 0x02000004, 0x00000000, 0x53040C45, 0x000E1C4F, 0x00000000, 0x00000000};

void WriteKeyEntry(ByteWriter& writer, const KeyEntry& entry) {
    writer.WriteU16LittleEndian(entry.type);
    writer.WriteU16LittleEndian(entry.aux);
    writer.WriteU32LittleEndian(entry.value);
    writer.WriteU32LittleEndian(entry.select);
    writer.WriteU32LittleEndian(entry.spare);
}

void ReadKeyEntry(ByteReader& reader, KeyEntry& entry) {
    reader.ReadU16LittleEndian(entry.type);
    reader.ReadU16LittleEndian(entry.aux);
    reader.ReadU32LittleEndian(entry.value);
    reader.ReadU32LittleEndian(entry.select);
    reader.ReadU32LittleEndian(entry.spare);
}

}  // namespace

void WriteConfigHeader(ByteWriter& writer, const ConfigHeader& h) {
    writer.WriteU16LittleEndian(h.magic);
    writer.WriteU16LittleEndian(h.headerLength);
    writer.WriteU16LittleEndian(h.formatCode);
    writer.WriteU16LittleEndian(h.formatVersion);
    writer.WriteU32LittleEndian(h.totalBytes);
    writer.WriteU16LittleEndian(h.entryCount);
    writer.WriteU16LittleEndian(h.macroCount);
    writer.WriteU32LittleEndian(h.stringPoolBytes);
    writer.WriteU32LittleEndian(h.reserved20);
    writer.WriteU32LittleEndian(h.reserved24);
    writer.WriteU16LittleEndian(h.reserved28);
    writer.WriteU8(h.reservedFlag);
    writer.WriteU8(h.checksum);
    for (std::uint32_t word : h.deviceDescriptorBlock) {
        writer.WriteU32LittleEndian(word);
    }
}

std::uint8_t ConfigHeaderChecksum(const ConfigHeader& header) {
    ByteWriter writer;
    WriteConfigHeader(writer, header);
    unsigned sum = 0;
    for (int i = 0; i < kChecksummedHeaderBytes - 1; ++i) {
        sum += writer.Bytes()[i];
    }
    return static_cast<std::uint8_t>(sum & 0xFF);
}

void InitConfigHeader(ConfigImage& image, std::uint16_t macroCount, std::uint32_t stringPoolBytes,
                      std::uint8_t flag) {
    ConfigHeader& h = image.header;
    h.magic = kConfigMagic;
    h.headerLength = kChecksummedHeaderBytes;
    h.formatCode = 3;
    h.formatVersion = 1;
    h.totalBytes = kConfigImageBytes + static_cast<std::uint32_t>(kMacroRecordBytes) * macroCount +
                   stringPoolBytes;
    h.entryCount = kConfigEntries;
    h.macroCount = macroCount;
    h.stringPoolBytes = stringPoolBytes;
    h.reserved20 = 0;
    h.reserved24 = 0;
    h.reserved28 = 0;
    h.reservedFlag = flag;
    h.checksum = ConfigHeaderChecksum(h);
}

ProfileBlock FreshProfileBlock() {
    ProfileBlock block{};
    for (int slot = kFirstGKeySlot; slot <= kLastGKeySlot; ++slot) {
        block[slot].aux = GKeyCodeOfSlot(slot);
    }
    return block;
}

std::unique_ptr<ConfigImage> CreateDefaultImage(std::uint8_t flag) {
    auto image = std::unique_ptr<ConfigImage>(new (std::nothrow) ConfigImage{});
    if (!image) {
        return nullptr;
    }
    InitConfigHeader(*image, 0, 0, flag);
    image->header.deviceDescriptorBlock = kDeviceDescriptorWords;
    image->blocks[0] = FreshProfileBlock();
    return image;
}

void WriteConfigImage(ByteWriter& writer, const ConfigImage& image) {
    WriteConfigHeader(writer, image.header);
    for (const ProfileBlock& block : image.blocks) {
        for (const KeyEntry& entry : block) {
            WriteKeyEntry(writer, entry);
        }
    }
}

bool ReadConfigImage(ByteReader& source, ConfigImage& image) {
    std::vector<std::uint8_t> bytes(kConfigImageBytes);
    if (!source.ReadBytes(bytes)) {
        return false;
    }
    ByteReader reader(bytes);
    ConfigHeader& h = image.header;
    reader.ReadU16LittleEndian(h.magic);
    reader.ReadU16LittleEndian(h.headerLength);
    reader.ReadU16LittleEndian(h.formatCode);
    reader.ReadU16LittleEndian(h.formatVersion);
    reader.ReadU32LittleEndian(h.totalBytes);
    reader.ReadU16LittleEndian(h.entryCount);
    reader.ReadU16LittleEndian(h.macroCount);
    reader.ReadU32LittleEndian(h.stringPoolBytes);
    reader.ReadU32LittleEndian(h.reserved20);
    reader.ReadU32LittleEndian(h.reserved24);
    reader.ReadU16LittleEndian(h.reserved28);
    reader.ReadU8(h.reservedFlag);
    reader.ReadU8(h.checksum);
    for (std::uint32_t& word : h.deviceDescriptorBlock) {
        reader.ReadU32LittleEndian(word);
    }
    for (ProfileBlock& block : image.blocks) {
        for (KeyEntry& entry : block) {
            ReadKeyEntry(reader, entry);
        }
    }
    return !reader.Failed();
}

}  // namespace korvel
