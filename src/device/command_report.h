#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace korvel {

inline constexpr std::size_t kReportBytes = 64;
inline constexpr std::size_t kReportDataBytes = 56;
inline constexpr std::size_t kReportDataOffset = 8;
inline constexpr std::uint8_t kCommandReportId = 4;

// Byte offsets inside a command report.
inline constexpr std::size_t kOffsetReportId = 0;
inline constexpr std::size_t kOffsetChecksumLow = 1;
inline constexpr std::size_t kOffsetChecksumHigh = 2;
inline constexpr std::size_t kOffsetCommand = 3;
inline constexpr std::size_t kOffsetLength = 4;
inline constexpr std::size_t kOffsetAddressLow = 5;
inline constexpr std::size_t kOffsetAddressHigh = 6;
inline constexpr std::size_t kOffsetStatus = 7;

// Status bytes of a reply that report an error; every other value means success.
inline constexpr std::uint8_t kStatusErrorFF = 0xFF;
inline constexpr std::uint8_t kStatusErrorFE = 0xFE;

enum CommandCode : std::uint8_t {
    CMD_BEGIN = 0x01,
    CMD_END = 0x02,
    CMD_READ_INFO = 0x03,
    CMD_WRITE_INFO = 0x04,
    CMD_READ_PARAMS = 0x05,
    CMD_WRITE_PARAMS = 0x06,
    CMD_READ_KEYTABLE = 0x07,
    CMD_WRITE_KEYTABLE = 0x08,
    CMD_READ_MACROS = 0x09,
    CMD_WRITE_MACROS = 0x0A,
    CMD_READ_DEFAULT_KEYTABLE = 0x0F,
    CMD_READ_KEYCOLORS = 0x10,
    CMD_WRITE_KEYCOLORS = 0x11,
    CMD_ENTER_BOOT = 0xEE,
};

// One 64-byte report of the command channel, the same size in both directions:
// report id, 16-bit checksum, command, length, 16-bit address, status, 56 data bytes.
struct CommandReport {
    std::array<std::uint8_t, kReportBytes> bytes{};

    std::uint8_t Command() const { return bytes[kOffsetCommand]; }
    std::uint8_t Length() const { return bytes[kOffsetLength]; }
    std::uint16_t Address() const {
        return static_cast<std::uint16_t>(bytes[kOffsetAddressLow] |
                                          (bytes[kOffsetAddressHigh] << 8));
    }
    std::uint8_t Status() const { return bytes[kOffsetStatus]; }
    std::uint16_t StoredChecksum() const {
        return static_cast<std::uint16_t>(bytes[kOffsetChecksumLow] |
                                          (bytes[kOffsetChecksumHigh] << 8));
    }
    std::span<std::uint8_t, kReportDataBytes> Data() {
        return std::span<std::uint8_t, kReportDataBytes>(bytes.data() + kReportDataOffset,
                                                         kReportDataBytes);
    }
    std::span<const std::uint8_t, kReportDataBytes> Data() const {
        return std::span<const std::uint8_t, kReportDataBytes>(bytes.data() + kReportDataOffset,
                                                               kReportDataBytes);
    }
};

// The sum of bytes 3..63; at most 61 * 255 = 15555, so it always fits in 16 bits.
std::uint16_t ReportChecksum(const CommandReport& report);

// Writes ReportChecksum into bytes 1 (low) and 2 (high). Call it after every other byte is final.
void SealChecksum(CommandReport& report);

// A complete request: zeroed, report id 4, command, length (low 8 bits of the count), address
// (little-endian), status byte 0, up to 56 data bytes from offset 8, checksum last.
CommandReport BuildRequest(std::uint8_t command, unsigned length, std::uint16_t address,
                           std::span<const std::uint8_t> data = {});

}  // namespace korvel
