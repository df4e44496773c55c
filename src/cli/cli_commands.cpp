#include "cli/cli_commands.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/text_encoding.h"
#include "cli/command_host.h"
#include "cli/keyboard_session.h"
#include "cli/monitor.h"
#include "device/command_set.h"
#include "device/result_codes.h"
#include "model/keys/key_codes.h"
#include "sync/keyboard_requests.h"

namespace korvel::cli {

CommandContext::CommandContext(const CommandLine& line, std::ostream& out, std::ostream& err,
                               const CommandHost* host)
    : m_line(line), m_out(out), m_err(err), m_host(host) {}

CommandContext::~CommandContext() = default;

KeyboardSession* CommandContext::Keyboard() {
    if (!m_keyboard) {
        std::string error;
        m_keyboard = m_host != nullptr ? KeyboardSession::Borrow(m_host->link)
                                       : KeyboardSession::Open(m_line.options, m_err, error);
        if (!m_keyboard) {
            Fail(kExitFailed, error);
        }
    }
    return m_keyboard.get();
}

KeyboardSession* CommandContext::KeyboardIfPresent() {
    if (!m_keyboard) {
        std::ostringstream silent;
        std::string ignored;
        m_keyboard = m_host != nullptr ? KeyboardSession::Borrow(m_host->link)
                                       : KeyboardSession::Open(m_line.options, silent, ignored);
    }
    return m_keyboard.get();
}

std::filesystem::path CommandContext::PathOf(const std::string& given) const {
    const std::filesystem::path path(given);
    if (m_host == nullptr || path.is_absolute() || given.empty()) {
        return path;
    }
    return m_host->workingFolder / path;
}

DocumentsFolder CommandContext::Documents() const {
    if (m_host == nullptr) {
        return FindDocumentsFolder(m_line.options.documents);
    }
    return FindDocumentsFolderFrom(m_line.options.documents, m_host->workingFolder,
                                   m_host->environment);
}

int CommandContext::Fail(int status, const std::string& message) {
    // Messages name files and carry the keyboard's texts: nothing in them may steer the terminal.
    m_err << "korvelctl: " << EscapeControls(message, true) << '\n';
    return status;
}

int CommandContext::Trouble(const std::string& message) {
    m_troubled = true;
    return message.empty() ? kExitUsage : Fail(kExitUsage, message);
}

int CommandContext::Finish(int status) {
    std::string error;
    if (m_keyboard && !m_keyboard->Save(error)) {
        return Fail(kExitFailed, error);
    }
    return status;
}

namespace {

// The information block names the active profile by its index 0..2; any other value is one the
// tool does not know, and printing it as a profile would mislead.
bool KnownProfile(int index) {
    return index >= 0 && index < kOnboardProfiles;
}

std::string UnknownProfileMessage(int index) {
    return "the keyboard names an unknown active profile (index " + std::to_string(index) + ")";
}

}  // namespace

int RunInfo(CommandContext& context) {
    KeyboardSession* keyboard = context.Keyboard();
    if (keyboard == nullptr) {
        return kExitFailed;
    }
    DeviceInfoBlock block;
    if (const int result = DevReadInfo(keyboard->Link(), block); result != DEV_OK) {
        return context.Finish(context.Fail(
            kExitFailed, "the keyboard's information block could not be read (result " +
                             std::to_string(result) + ")"));
    }
    if (!KnownProfile(block.ActiveProfile())) {
        return context.Finish(
            context.Fail(kExitFailed, UnknownProfileMessage(block.ActiveProfile())));
    }
    std::ostream& out = context.Out();
    if (context.Arguments().json) {
        out << nlohmann::ordered_json{{"activeProfile", block.ActiveProfile() + 1},
                                      {"macroCapacity", block.MacroCapacityBytes()},
                                      {"effects", block.Effects()}}
                   .dump()
            << '\n';
        return context.Finish(kExitOk);
    }
    out << "active-profile: " << block.ActiveProfile() + 1 << '\n';
    out << "macro-capacity: " << block.MacroCapacityBytes() << '\n';
    out << "effects:";
    for (const int effect : block.Effects()) {
        out << ' ' << effect;
    }
    out << '\n';
    return context.Finish(kExitOk);
}

int RunProfile(CommandContext& context) {
    const int wanted = context.Arguments().profile;  // 0: none given
    KeyboardSession* keyboard = context.Keyboard();
    if (keyboard == nullptr) {
        return kExitFailed;
    }
    DeviceLink& link = keyboard->Link();
    if (wanted == 0) {
        const int active = DevGetActiveProfile(link);
        if (active < 0) {
            return context.Finish(context.Fail(
                kExitFailed, "the active profile could not be read from the keyboard"));
        }
        if (!KnownProfile(active)) {
            return context.Finish(context.Fail(kExitFailed, UnknownProfileMessage(active)));
        }
        if (context.Arguments().json) {
            context.Out() << nlohmann::ordered_json{{"activeProfile", active + 1}}.dump() << '\n';
        } else {
            context.Out() << active + 1 << '\n';
        }
        return context.Finish(kExitOk);
    }
    if (!SwitchActiveProfile(link, wanted - 1)) {
        return context.Finish(context.Fail(
            kExitFailed, "the keyboard did not take profile " + std::to_string(wanted)));
    }
    return context.Finish(kExitOk);
}

namespace {

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int) {
    g_interrupted.store(true);
}

}  // namespace

int RunMonitorCommand(CommandContext& context) {
    std::string error;
    auto bus = KeyboardBus::Open(context.Options().Bus("korvelctl"), error);
    if (!bus) {
        return context.Fail(kExitFailed, error);
    }
    g_interrupted.store(false);
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    const int status = RunMonitor(bus->Backend(), context.Out(), context.Err(), g_interrupted);
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    if (!bus->Save(error)) {
        return context.Fail(kExitFailed, error);
    }
    return status;
}

int RunPress(CommandContext& context) {
    if (!context.Options().simulate) {
        return context.Fail(kExitUsage,
                            "press needs --simulate: only the virtual keyboard can be "
                            "made to press a key");
    }
    // Virtual keyboards live in the program that runs them: a press reaches a listener only
    // through the korvel that runs with the same STATE, to which the command was handed over.
    const CommandHost* host = context.Host();
    if (host == nullptr) {
        return context.Fail(kExitFailed,
                            "no korvel runs with this virtual keyboard, so the press would reach "
                            "nobody; start korvel --simulate=STATE with the same STATE first");
    }
    const int slot = GKeySlot(context.Arguments().gKey, GKeyBank::A);
    if (host->bus == nullptr || !host->bus->InjectEvent(GKeyCodeOfSlot(slot))) {
        return context.Fail(kExitFailed,
                            "korvel runs with a real keyboard; only a virtual keyboard can be "
                            "made to press a key");
    }
    return kExitOk;
}

}  // namespace korvel::cli
