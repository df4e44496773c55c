#pragma once

#include <cstdint>
#include <span>

#include "device/command_report.h"
#include "device/device_link.h"

namespace korvel {

// Writes a prepared request (zero-padded to, or cut at, 64 bytes) and reads its reply into `reply`.
// Up to LinkTimings::attempts attempts, each one write and one read; a missing reply sends the same
// request again, a failed write ends at once. Returns DEV_OK, DEV_NO_REPLY (not connected: nothing
// sent; or no reply in any attempt) or DEV_WRITE_FAILED. The reply's status byte is not looked at.
//
// The exchange lock is held over each whole attempt, so a thread never reads the reply to another
// thread's request; reports already waiting before a request is written are discarded, since they
// can only be late replies to an earlier request. Only a full 64-byte report with report id 4
// counts as the reply; anything else read within the time-out is skipped.
int DevExchange(DeviceLink& link, std::span<const std::uint8_t> request, CommandReport& reply);

// Writes one report exactly as the caller built it (no checksum is added) and reads no reply.
// Returns 0 when not connected or not written, non-zero when written.
int DevSendOnly(DeviceLink& link, std::span<const std::uint8_t> report);

}  // namespace korvel
