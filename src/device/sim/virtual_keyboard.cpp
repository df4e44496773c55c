#include "device/sim/virtual_keyboard.h"

#include <algorithm>
#include <utility>

namespace korvel::sim {
namespace {

// One memory area as the commands address it.
struct Area {
    std::uint8_t* bytes;
    std::size_t size;
};

// A read returns the 56 bytes from the address on; the part past the end of the area reads as 0
// (lighting records are read 56 bytes at a time although each is 42 long).
std::uint8_t ReadArea(Area area, const CommandReport& request, CommandReport& reply) {
    const std::size_t address = request.Address();
    if (address >= area.size || request.Length() > kReportDataBytes) {
        return kStatusBadRequest;
    }
    const std::size_t count = std::min(kReportDataBytes, area.size - address);
    std::copy_n(area.bytes + address, count, reply.Data().begin());
    return kStatusOk;
}

std::uint8_t WriteArea(Area area, const CommandReport& request) {
    const std::size_t address = request.Address();
    const std::size_t length = request.Length();
    if (length > kReportDataBytes || address + length > area.size) {
        return kStatusBadRequest;
    }
    std::copy_n(request.Data().begin(), length, area.bytes + address);
    return kStatusOk;
}

template <typename Container>
Area AreaOf(Container& container) {
    return Area{container.data(), container.size()};
}

bool IsBootLoaderRequest(const CommandReport& report) {
    return report.Command() == CMD_ENTER_BOOT && report.Length() == CMD_ENTER_BOOT;
}

}  // namespace

VirtualKeyboard::VirtualKeyboard(KeyboardMemory memory) : m_memory(std::move(memory)) {}

std::optional<CommandReport> VirtualKeyboard::HandleRequest(std::span<const std::uint8_t> report) {
    std::lock_guard lock(m_mutex);
    if (report.size() != kReportBytes || report[kOffsetReportId] != kCommandReportId ||
        !m_plugged) {
        return std::nullopt;
    }
    CommandReport request;
    std::copy(report.begin(), report.end(), request.bytes.begin());
    m_received.push_back(request);

    if (m_bootLoader) {
        return std::nullopt;
    }
    if (IsBootLoaderRequest(request)) {
        m_bootLoader = true;
        return std::nullopt;
    }
    if (m_answerEveryOther) {
        const bool ignore = m_ignoreNext;
        m_ignoreNext = !m_ignoreNext;
        if (ignore) {
            return std::nullopt;
        }
    }
    if (m_silentReplies != 0 && m_requestsBeforeSilence > 0) {
        --m_requestsBeforeSilence;
    } else if (m_silentReplies != 0) {
        if (m_silentReplies > 0) {
            --m_silentReplies;
        }
        return std::nullopt;
    }

    CommandReport reply;
    if (m_echoRequest) {
        std::copy_n(request.bytes.begin(), kOffsetStatus, reply.bytes.begin());
    }
    reply.bytes[kOffsetReportId] = m_replyReportId;
    if (m_statusReplies > 0 && m_requestsBeforeStatus > 0) {
        --m_requestsBeforeStatus;
        reply.bytes[kOffsetStatus] = Execute(request, reply);
    } else if (m_statusReplies > 0) {
        --m_statusReplies;
        reply.bytes[kOffsetStatus] = m_injectedStatus;
    } else if (ReportChecksum(request) != request.StoredChecksum()) {
        reply.bytes[kOffsetStatus] = kStatusBadChecksum;
    } else {
        reply.bytes[kOffsetStatus] = Execute(request, reply);
    }
    return reply;
}

std::uint8_t VirtualKeyboard::Execute(const CommandReport& request, CommandReport& reply) {
    switch (request.Command()) {
        case CMD_BEGIN:
        case CMD_END:
            return kStatusOk;
        case CMD_READ_INFO:
            std::copy(m_memory.info.begin(), m_memory.info.end(), reply.Data().begin());
            return kStatusOk;
        case CMD_WRITE_INFO: {
            // Only the active profile is the host's to change; capacity and effects are the
            // firmware's own.
            const std::uint8_t profile = request.Data()[kInfoActiveProfileOffset];
            if (profile >= kOnboardProfiles) {
                return kStatusBadRequest;
            }
            m_memory.info[kInfoActiveProfileOffset] = profile;
            return kStatusOk;
        }
        case CMD_READ_PARAMS:
            return ReadArea(AreaOf(m_memory.params), request, reply);
        case CMD_WRITE_PARAMS:
            return Write(m_memory.params.data(), m_memory.params.size(), request);
        case CMD_READ_KEYTABLE:
            return ReadArea(AreaOf(m_memory.keyTables), request, reply);
        case CMD_WRITE_KEYTABLE:
            return Write(m_memory.keyTables.data(), m_memory.keyTables.size(), request);
        case CMD_READ_MACROS:
            return ReadArea(AreaOf(m_memory.macroArea), request, reply);
        case CMD_WRITE_MACROS:
            return Write(m_memory.macroArea.data(), m_memory.macroArea.size(), request);
        case CMD_READ_DEFAULT_KEYTABLE:
            return ReadArea(AreaOf(m_memory.defaultKeyTable), request, reply);
        case CMD_READ_KEYCOLORS:
            return ReadArea(AreaOf(m_memory.keyColors), request, reply);
        case CMD_WRITE_KEYCOLORS:
            return Write(m_memory.keyColors.data(), m_memory.keyColors.size(), request);
        default:
            return kStatusBadRequest;
    }
}

std::uint8_t VirtualKeyboard::Write(std::uint8_t* area, std::size_t size,
                                    const CommandReport& request) {
    const std::uint8_t status = WriteArea(Area{area, size}, request);
    if (status != kStatusOk || m_corruptWrites == 0 || request.Length() == 0) {
        return status;
    }
    if (m_writesBeforeCorruption > 0) {
        --m_writesBeforeCorruption;
        return status;
    }
    if (m_corruptWrites > 0) {
        --m_corruptWrites;
    }
    area[request.Address()] = static_cast<std::uint8_t>(~area[request.Address()]);
    return status;
}

void VirtualKeyboard::CorruptWrites(int count, int skip) {
    std::lock_guard lock(m_mutex);
    m_corruptWrites = count;
    m_writesBeforeCorruption = skip;
}

KeyboardMemory VirtualKeyboard::Memory() const {
    std::lock_guard lock(m_mutex);
    return m_memory;
}

void VirtualKeyboard::SetMemory(KeyboardMemory memory) {
    std::lock_guard lock(m_mutex);
    m_memory = std::move(memory);
}

std::vector<CommandReport> VirtualKeyboard::Received() const {
    std::lock_guard lock(m_mutex);
    return m_received;
}

void VirtualKeyboard::ClearReceived() {
    std::lock_guard lock(m_mutex);
    m_received.clear();
}

bool VirtualKeyboard::IsPlugged() const {
    std::lock_guard lock(m_mutex);
    return m_plugged;
}

void VirtualKeyboard::SetPlugged(bool plugged) {
    {
        std::lock_guard lock(m_mutex);
        if (plugged && !m_plugged) {
            m_bootLoader = false;
            ++m_plugGeneration;
        }
        m_plugged = plugged;
    }
    m_eventArrived.notify_all();
}

std::uint64_t VirtualKeyboard::PlugGeneration() const {
    std::lock_guard lock(m_mutex);
    return m_plugGeneration;
}

bool VirtualKeyboard::InBootLoader() const {
    std::lock_guard lock(m_mutex);
    return m_bootLoader;
}

void VirtualKeyboard::SilenceReplies(int count, int skip) {
    std::lock_guard lock(m_mutex);
    m_silentReplies = count;
    m_requestsBeforeSilence = skip;
}

void VirtualKeyboard::AnswerWithStatus(std::uint8_t status, int count, int skip) {
    std::lock_guard lock(m_mutex);
    m_injectedStatus = status;
    m_statusReplies = count;
    m_requestsBeforeStatus = skip;
}

void VirtualKeyboard::AnswerEveryOther(bool on) {
    std::lock_guard lock(m_mutex);
    m_answerEveryOther = on;
    m_ignoreNext = on;
}

std::uint8_t VirtualKeyboard::ReplyReportId() const {
    std::lock_guard lock(m_mutex);
    return m_replyReportId;
}

void VirtualKeyboard::SetReplyReportId(std::uint8_t id) {
    std::lock_guard lock(m_mutex);
    m_replyReportId = id;
}

void VirtualKeyboard::SetEchoRequest(bool echo) {
    std::lock_guard lock(m_mutex);
    m_echoRequest = echo;
}

void VirtualKeyboard::InjectEvent(std::uint16_t code) {
    {
        std::lock_guard lock(m_mutex);
        m_events.push_back(code);
    }
    m_eventArrived.notify_all();
}

std::optional<std::uint16_t> VirtualKeyboard::WaitEvent(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    m_eventArrived.wait_for(lock, timeout, [this] { return !m_plugged || !m_events.empty(); });
    if (!m_plugged || m_events.empty()) {
        return std::nullopt;
    }
    const std::uint16_t code = m_events.front();
    m_events.pop_front();
    return code;
}

}  // namespace korvel::sim
