#include "device/command_set.h"

#include <algorithm>

#include "base/quit_during_transaction.h"
#include "device/command_report.h"
#include "device/exchange.h"
#include "device/result_codes.h"

namespace korvel {
namespace {

// Exchanges a request and applies the status check every command makes on its reply.
int Transact(DeviceLink& link, const CommandReport& request, CommandReport& reply) {
    const int result = DevExchange(link, request.bytes, reply);
    if (result != DEV_OK) {
        return result;
    }
    if (reply.Status() == kStatusErrorFF) {
        return DEV_ERR_STATUS_FF;
    }
    if (reply.Status() == kStatusErrorFE) {
        return DEV_ERR_STATUS_FE;
    }
    return DEV_OK;
}

int Transact(DeviceLink& link, const CommandReport& request) {
    CommandReport reply;
    return Transact(link, request, reply);
}

std::uint16_t Low16(long value) {
    return static_cast<std::uint16_t>(value & 0xFFFF);
}

bool IsProfile(int profile) {
    return static_cast<unsigned>(profile) < kOnboardProfiles;
}

// Moves `size` bytes in chunks of at most 56 from `base`: for each chunk calls
// exchangeChunk(offset, chunk, address) and stops at the first failure.
template <typename ExchangeChunk>
int ForEachChunk(std::size_t size, long base, ExchangeChunk exchangeChunk) {
    for (std::size_t offset = 0; offset < size; offset += kReportDataBytes) {
        const std::size_t chunk = std::min(kReportDataBytes, size - offset);
        const int result = exchangeChunk(offset, chunk, Low16(base + static_cast<long>(offset)));
        if (result != DEV_OK) {
            return result;
        }
    }
    return DEV_OK;
}

int ReadChunks(DeviceLink& link, std::uint8_t command, long base, std::span<std::uint8_t> out) {
    return ForEachChunk(
        out.size(), base, [&](std::size_t offset, std::size_t chunk, std::uint16_t address) {
            CommandReport reply;
            const int result =
                Transact(link, BuildRequest(command, static_cast<unsigned>(chunk), address), reply);
            if (result == DEV_OK) {
                std::copy_n(reply.Data().begin(), chunk, out.begin() + offset);
            }
            return result;
        });
}

int WriteChunks(DeviceLink& link, std::uint8_t command, long base,
                std::span<const std::uint8_t> data) {
    return ForEachChunk(
        data.size(), base, [&](std::size_t offset, std::size_t chunk, std::uint16_t address) {
            return Transact(link, BuildRequest(command, static_cast<unsigned>(chunk), address,
                                               data.subspan(offset, chunk)));
        });
}

int ReadWhole56(DeviceLink& link, std::uint8_t command, unsigned count, std::uint16_t address,
                std::span<std::uint8_t, 56> out) {
    CommandReport reply;
    const int result = Transact(link, BuildRequest(command, count, address), reply);
    if (result == DEV_OK) {
        std::copy(reply.Data().begin(), reply.Data().end(), out.begin());
    }
    return result;
}

int WriteUpTo56(DeviceLink& link, std::uint8_t command, std::span<const std::uint8_t> data,
                std::uint16_t address) {
    const std::size_t count = std::min(data.size(), kReportDataBytes);
    return Transact(
        link, BuildRequest(command, static_cast<unsigned>(count), address, data.first(count)));
}

std::uint16_t KeyColorAddress(int firstKey, int page) {
    return Low16(static_cast<long>(page) * kKeyColorPageStride + 3L * firstKey);
}

}  // namespace

int DevBegin(DeviceLink& link) {
    // From here a quit signal waits for the end (korvelctl), whether or not the keyboard answers.
    TransactionBegins();
    return Transact(link, BuildRequest(CMD_BEGIN, 0, 0));
}

int DevEnd(DeviceLink& link) {
    const CommandReport request = BuildRequest(CMD_END, 0, 0);
    // The keyboard needs a moment after the last write of a sequence before it takes the end.
    link.Pause(link.Timings().endPause);
    const int result = Transact(link, request);
    TransactionEnds();
    return result;
}

int DevSequence(DeviceLink& link, const std::function<int()>& steps) {
    int result = DevBegin(link);
    // Only a DevBegin that was never written (the write failed, or no keyboard is connected)
    // leaves nothing to close.
    if (result == DEV_WRITE_FAILED || !link.IsConnected()) {
        return result;
    }
    if (result == DEV_OK) {
        result = steps();
    }
    const int end = DevEnd(link);
    return result != DEV_OK ? result : end;
}

int DevReadInfo(DeviceLink& link, DeviceInfoBlock& out) {
    CommandReport reply;
    const int result = Transact(link, BuildRequest(CMD_READ_INFO, kInfoBlockBytes, 0), reply);
    if (result == DEV_OK) {
        std::copy_n(reply.Data().begin(), kInfoBlockBytes, out.bytes.begin());
    }
    return result;
}

int DevWriteInfo(DeviceLink& link, const DeviceInfoBlock& block) {
    return Transact(link, BuildRequest(CMD_WRITE_INFO, kInfoBlockBytes, 0, block.bytes));
}

int DevReadParams(DeviceLink& link, std::span<std::uint8_t, 56> out, unsigned count,
                  std::uint16_t address) {
    return ReadWhole56(link, CMD_READ_PARAMS, count, address, out);
}

int DevWriteParams(DeviceLink& link, std::span<const std::uint8_t> data, std::uint16_t address) {
    return WriteUpTo56(link, CMD_WRITE_PARAMS, data, address);
}

int DevReadKeyTable(DeviceLink& link, std::span<std::uint8_t, kKeyTableBytes> out, int profile) {
    if (!IsProfile(profile)) {
        return DEV_ERR_BAD_PROFILE;
    }
    return ReadChunks(link, CMD_READ_KEYTABLE, static_cast<long>(profile) * kKeyTableBytes, out);
}

int DevWriteKeyTable(DeviceLink& link, std::span<const std::uint8_t, kKeyTableBytes> table,
                     int profile) {
    if (!IsProfile(profile)) {
        return DEV_ERR_BAD_PROFILE;
    }
    return WriteChunks(link, CMD_WRITE_KEYTABLE, static_cast<long>(profile) * kKeyTableBytes,
                       table);
}

int DevReadDefaultKeyTable(DeviceLink& link, std::span<std::uint8_t, kKeyTableBytes> out) {
    return ReadChunks(link, CMD_READ_DEFAULT_KEYTABLE, 0, out);
}

int DevReadMacroArea(DeviceLink& link, std::span<std::uint8_t> out) {
    if (out.size() > kMaxMacroAreaBytes) {
        return DEV_WRITE_FAILED;
    }
    return ReadChunks(link, CMD_READ_MACROS, 0, out);
}

int DevWriteMacroArea(DeviceLink& link, std::span<const std::uint8_t> data) {
    if (data.size() > kMaxMacroAreaBytes) {
        return DEV_WRITE_FAILED;
    }
    return WriteChunks(link, CMD_WRITE_MACROS, 0, data);
}

int DevReadKeyColors(DeviceLink& link, std::span<std::uint8_t, 56> out, unsigned count,
                     int firstKey, int page) {
    return ReadWhole56(link, CMD_READ_KEYCOLORS, count, KeyColorAddress(firstKey, page), out);
}

int DevWriteKeyColors(DeviceLink& link, std::span<const std::uint8_t> data, int firstKey,
                      int page) {
    return WriteUpTo56(link, CMD_WRITE_KEYCOLORS, data, KeyColorAddress(firstKey, page));
}

int DevEnterBoot(DeviceLink& link) {
    CommandReport report;
    report.bytes[kOffsetReportId] = kCommandReportId;
    report.bytes[kOffsetCommand] = CMD_ENTER_BOOT;
    report.bytes[kOffsetLength] = CMD_ENTER_BOOT;
    return DevSendOnly(link, report.bytes);
}

int DevGetActiveProfile(DeviceLink& link) {
    if (const int cached = link.ActiveProfileCache(); cached != -1) {
        return cached;
    }
    DeviceInfoBlock block;
    if (DevReadInfo(link, block) != DEV_OK) {
        return -1;
    }
    link.SetActiveProfileCache(block.ActiveProfile());
    return block.ActiveProfile();
}

void DevSetActiveProfile(DeviceLink& link, int profile) {
    if (profile < 0) {
        return;
    }
    DeviceInfoBlock block;
    if (DevReadInfo(link, block) != DEV_OK) {
        return;
    }
    block.bytes[kInfoActiveProfileOffset] = static_cast<std::uint8_t>(profile);
    if (DevWriteInfo(link, block) == DEV_OK) {
        link.SetActiveProfileCache(block.ActiveProfile());
    } else {
        link.SetActiveProfileCache(-1);
    }
}

}  // namespace korvel
