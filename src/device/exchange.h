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
// A reply counts only for its own request. The exchange lock is held over each whole attempt, so
// a thread never reads the reply to another thread's request. Only a full 64-byte report with one
// of the command collection's input report ids counts as a reply, and one whose echoed command or
// address names another request is skipped. Reports already waiting before a request is written
// can only be late replies: they are discarded, except that on a retry one echoing this request
// answers it. After an attempt timed out, a keyboard not yet seen echoing its requests is given
// the read time-out once more for the late reply, which is then discarded, so that it cannot
// answer the next attempt or the next command; a keyboard that echoes nothing is otherwise
// served as before.
int DevExchange(DeviceLink& link, std::span<const std::uint8_t> request, CommandReport& reply);

// Writes one report exactly as the caller built it (no checksum is added) and reads no reply.
// Returns 0 when not connected or not written, non-zero when written.
int DevSendOnly(DeviceLink& link, std::span<const std::uint8_t> report);

}  // namespace korvel
