#include "device/reply_match.h"

namespace korvel {

ReplyEcho EchoOf(const CommandReport& reply, std::span<const std::uint8_t, kReportBytes> request) {
    const std::uint8_t command = reply.Command();
    const std::uint16_t address = reply.Address();
    const auto requestAddress =
        static_cast<std::uint16_t>(request[kOffsetAddressLow] | (request[kOffsetAddressHigh] << 8));
    if (command == 0 && address == 0) {
        return ReplyEcho::NoEcho;
    }
    // Every command code is non-zero, so a zero command byte echoes nothing; an echoed command
    // always comes with its address, even when that is 0.
    if ((command != 0 && command != request[kOffsetCommand]) || address != requestAddress) {
        return ReplyEcho::AnotherRequest;
    }
    return command != 0 ? ReplyEcho::ThisRequest : ReplyEcho::NoEcho;
}

}  // namespace korvel
