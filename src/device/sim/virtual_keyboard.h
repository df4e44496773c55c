#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "device/command_report.h"
#include "device/sim/keyboard_memory.h"

namespace korvel::sim {

// Status bytes the virtual keyboard answers with.
inline constexpr std::uint8_t kStatusOk = 0x00;
inline constexpr std::uint8_t kStatusBadRequest = 0xFF;  // unknown command, address outside an area
inline constexpr std::uint8_t kStatusBadChecksum = 0xFE;

// The firmware of a keyboard that stands in for the real one: its memory areas and every command
// of the command channel with its status byte, plus plugging, events and faults under test control.
// Its transport is SimulatedChannel.
//
// Threads: every member may be called from any thread.
class VirtualKeyboard {
public:
    explicit VirtualKeyboard(KeyboardMemory memory = MakeFactoryMemory());

    // Takes one output report of the command collection and returns the reply, or nothing when
    // the keyboard does not answer (not a command report, the boot-loader report, or a fault).
    std::optional<CommandReport> HandleRequest(std::span<const std::uint8_t> report);

    KeyboardMemory Memory() const;
    void SetMemory(KeyboardMemory memory);

    // Every report the keyboard received, in order (what a USB analyser between tool and keyboard
    // would show of the output direction).
    std::vector<CommandReport> Received() const;
    void ClearReceived();

    bool IsPlugged() const;
    // Unplugging leaves the memory as it is; plugging in again also leaves the boot loader.
    void SetPlugged(bool plugged);
    bool InBootLoader() const;
    // Counts plug-ins: an interface opened before an unplug stays dead after the next plug-in.
    std::uint64_t PlugGeneration() const;

    // Faults: after `skip` more requests were carried out normally, `count` command reports get
    // no reply at all (a negative count: none ever again), or are answered with `status` without
    // being carried out.
    void SilenceReplies(int count, int skip = 0);
    void AnswerWithStatus(std::uint8_t status, int count, int skip = 0);
    // A keyboard whose memory fails: after `skip` more writes were stored normally, `count` writes
    // of key tables, the macro area, parameters or key colours are acknowledged as done but store
    // their first byte with every bit inverted (a negative count: every write from then on).
    void CorruptWrites(int count, int skip = 0);
    // A flaky keyboard: while on, every other command report (the first one included) gets no
    // reply and is not carried out; the ones between are handled normally.
    void AnswerEveryOther(bool on);

    // How the replies look: the report id they carry (4 unless set), and whether they echo the
    // request's checksum, command, length and address (they do unless turned off; a keyboard
    // that echoes nothing leaves those bytes 0).
    std::uint8_t ReplyReportId() const;
    void SetReplyReportId(std::uint8_t id);
    void SetEchoRequest(bool echo);

    // Vendor event codes the keyboard sends on its consumer-control collection.
    void InjectEvent(std::uint16_t code);
    // The next event, waiting up to `timeout`; nothing on time-out or while unplugged.
    std::optional<std::uint16_t> WaitEvent(std::chrono::milliseconds timeout);

private:
    std::uint8_t Execute(const CommandReport& request, CommandReport& reply);
    // WriteArea, spoiled while CorruptWrites says so.
    std::uint8_t Write(std::uint8_t* area, std::size_t size, const CommandReport& request);

    mutable std::mutex m_mutex;
    std::condition_variable m_eventArrived;
    KeyboardMemory m_memory;
    std::vector<CommandReport> m_received;
    std::deque<std::uint16_t> m_events;
    bool m_plugged = true;
    bool m_bootLoader = false;
    std::uint64_t m_plugGeneration = 0;
    int m_silentReplies = 0;
    int m_requestsBeforeSilence = 0;
    int m_statusReplies = 0;
    int m_requestsBeforeStatus = 0;
    std::uint8_t m_injectedStatus = kStatusOk;
    bool m_answerEveryOther = false;
    int m_corruptWrites = 0;
    int m_writesBeforeCorruption = 0;
    bool m_ignoreNext = false;
    std::uint8_t m_replyReportId = kCommandReportId;
    bool m_echoRequest = true;
};

}  // namespace korvel::sim
