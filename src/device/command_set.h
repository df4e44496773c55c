#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "device/default_key_table.h"
#include "device/device_info_block.h"
#include "device/device_link.h"
#include "device/keyboard_identity.h"

namespace korvel {

// The keyboard's memory areas as the commands address them.
inline constexpr int kParamRecordBytes = 42;
inline constexpr int kKeyColorPageStride = 512;
inline constexpr int kMaxMacroAreaBytes = 0x10000;  // macro offsets travel in 16 bits

// Every command of the keyboard. Each returns a result code (DEV_OK on success) and stops at the
// first failure; chunks already sent stay sent. The reply's status byte 0xFF / 0xFE gives
// DEV_ERR_STATUS_FF / DEV_ERR_STATUS_FE and no data is used. None of them talks to the user.

int DevBegin(DeviceLink& link);
int DevEnd(DeviceLink& link);  // pauses LinkTimings::endPause before its exchange
// DevBegin, `steps` when the keyboard took it, and DevEnd whenever DevBegin was written (one
// without a reply, or with an error status, may still have opened the sequence). The first
// failing result, else DevEnd's.
int DevSequence(DeviceLink& link, const std::function<int()>& steps);

int DevReadInfo(DeviceLink& link, DeviceInfoBlock& out);
int DevWriteInfo(DeviceLink& link, const DeviceInfoBlock& block);

// Reads the 56 bytes that start at `address`; `count` only goes into the length byte.
int DevReadParams(DeviceLink& link, std::span<std::uint8_t, 56> out, unsigned count,
                  std::uint16_t address);
// Writes data.size() bytes (0..56; more are not sent) at `address`.
int DevWriteParams(DeviceLink& link, std::span<const std::uint8_t> data, std::uint16_t address);

// Seven chunks at profile * 378 + 0, 56, ..., 336. A profile outside 0..2 gives
// DEV_ERR_BAD_PROFILE with nothing sent.
int DevReadKeyTable(DeviceLink& link, std::span<std::uint8_t, kKeyTableBytes> out, int profile);
int DevWriteKeyTable(DeviceLink& link, std::span<const std::uint8_t, kKeyTableBytes> table,
                     int profile);
int DevReadDefaultKeyTable(DeviceLink& link, std::span<std::uint8_t, kKeyTableBytes> out);

// ceil(size / 56) chunks from offset 0; an empty transfer sends nothing and succeeds. A transfer
// longer than the 16-bit offsets can address gives DEV_WRITE_FAILED with nothing sent, since its
// later chunks would land over the start of the area.
int DevReadMacroArea(DeviceLink& link, std::span<std::uint8_t> out);
int DevWriteMacroArea(DeviceLink& link, std::span<const std::uint8_t> data);

// Key colours of LED `firstKey` onward on colour page `page` (address page * 512 + 3 * firstKey).
// The page is the profile selected in the main window.
int DevReadKeyColors(DeviceLink& link, std::span<std::uint8_t, 56> out, unsigned count,
                     int firstKey, int page);
int DevWriteKeyColors(DeviceLink& link, std::span<const std::uint8_t> data, int firstKey, int page);

// Sends the unchecked boot-loader report (id 4, bytes 3 and 4 = 0xEE, all else 0) and reads no
// reply. Returns 1 when written, 0 when not connected or not written.
int DevEnterBoot(DeviceLink& link);

// The active onboard profile (0..2), from the cache or from one information-block read; -1 when
// the keyboard cannot be read (the cache then stays unknown).
int DevGetActiveProfile(DeviceLink& link);

// Makes `profile` active: reads the information block and writes it back with byte 10 changed.
// A negative index or a failed read does nothing; the cache ends as the new index when the write
// succeeded and unknown when it failed.
void DevSetActiveProfile(DeviceLink& link, int profile);

}  // namespace korvel
