#pragma once

#include <cstdint>
#include <span>

#include "device/command_report.h"

namespace korvel {

// What a reply's echo says about the request it answers. A keyboard copies the request's command
// and address into its reply (bytes 3 and 5..6); one that echoes nothing leaves them 0.
enum class ReplyEcho {
    ThisRequest,     // the command and address of the request just written
    NoEcho,          // nothing to tell: bytes 3 and 5..6 are 0, or only the address is echoed
    AnotherRequest,  // a command or an address that the request does not have
};

ReplyEcho EchoOf(const CommandReport& reply, std::span<const std::uint8_t, kReportBytes> request);

}  // namespace korvel
