#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "base/byte_io.h"
#include "device/default_key_table.h"
#include "device/keyboard_identity.h"
#include "model/keys/key_entry.h"

namespace korvel {

inline constexpr int kProfileBlocks = 4;  // blocks 0..kOnboardProfiles-1 are the onboard profiles
inline constexpr int kBlockSlots = 512;
inline constexpr int kConfigEntries = kProfileBlocks * kBlockSlots;  // 2048
inline constexpr int kConfigHeaderBytes = 64;
inline constexpr int kChecksummedHeaderBytes = 32;
inline constexpr std::uint32_t kConfigImageBytes =
    kConfigHeaderBytes + kConfigEntries * kKeyEntryBytes;  // 32832
inline constexpr std::uint16_t kConfigMagic = 0x4446;

// The 64-byte header of a configuration image and of a profile file.
struct ConfigHeader {
    std::uint16_t magic = 0;
    std::uint16_t headerLength = 0;
    std::uint16_t formatCode = 0;
    std::uint16_t formatVersion = 0;
    std::uint32_t totalBytes = 0;  // size of a profile file holding this image
    std::uint16_t entryCount = 0;
    std::uint16_t macroCount = 0;
    std::uint32_t stringPoolBytes = 0;
    std::uint32_t reserved20 = 0;
    std::uint32_t reserved24 = 0;
    std::uint16_t reserved28 = 0;
    std::uint8_t reservedFlag = 0;
    std::uint8_t checksum = 0;  // sum of bytes 0..30, modulo 256
    // Carried and saved unchanged; word 4 holds the vendor and product ids.
    std::array<std::uint32_t, 8> deviceDescriptorBlock{};
    friend bool operator==(const ConfigHeader&, const ConfigHeader&) = default;
};

using ProfileBlock = std::array<KeyEntry, kBlockSlots>;

struct ConfigImage {
    ConfigHeader header;
    std::array<ProfileBlock, kProfileBlocks> blocks{};

    // Entry with global index k = block * 512 + slot.
    KeyEntry& Entry(int k) { return blocks[k / kBlockSlots][k % kBlockSlots]; }
    const KeyEntry& Entry(int k) const { return blocks[k / kBlockSlots][k % kBlockSlots]; }
    friend bool operator==(const ConfigImage&, const ConfigImage&) = default;
};

inline constexpr int GlobalEntryIndex(int block, int slot) {
    return block * kBlockSlots + slot;
}

// Fills the checksummed part of the header (bytes 0..31) so that it describes an image travelling
// with macroCount macros and a pool of stringPoolBytes; the descriptor block is left alone.
void InitConfigHeader(ConfigImage& image, std::uint16_t macroCount, std::uint32_t stringPoolBytes,
                      std::uint8_t flag);
// Sum of the stored bytes 0..30 of the header, modulo 256.
std::uint8_t ConfigHeaderChecksum(const ConfigHeader& header);

// A block as the keyboard's tables leave it: every key at its default, G keys carrying their codes.
ProfileBlock FreshProfileBlock();
// The image of a fresh configuration: no macros, no strings, G codes in block 0 only.
std::unique_ptr<ConfigImage> CreateDefaultImage(std::uint8_t flag);

// The stored 32832 bytes, little-endian.
void WriteConfigHeader(ByteWriter& writer, const ConfigHeader& header);
void WriteConfigImage(ByteWriter& writer, const ConfigImage& image);
// Reads the stored bytes as they are; checking them is the caller's business. False when fewer
// than 32832 bytes are left (image is then unchanged).
bool ReadConfigImage(ByteReader& reader, ConfigImage& image);

}  // namespace korvel
