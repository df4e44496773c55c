#include "cli/keyboard_session.h"

#include <chrono>
#include <optional>

#include "device/keyboard_identity.h"
#include "device/sim/keyboard_state_file.h"
#include "device/sim/simulated_channel.h"
#include "device/sim/virtual_keyboard.h"
#include "device/tracing_channel.h"

namespace korvel::cli {

struct KeyboardSession::Parts {
    explicit Parts(sim::KeyboardMemory memory) : keyboard(std::move(memory)), channel(keyboard) {}

    sim::VirtualKeyboard keyboard;
    sim::SimulatedChannel channel;
    std::optional<TracingChannel> tracing;
    DeviceLink link;
    std::string statePath;
};

std::unique_ptr<KeyboardSession> KeyboardSession::Open(const GlobalOptions& options,
                                                       std::ostream& traceOut,
                                                       std::string& error) {
    if (!options.simulate) {
        error = "no keyboard transport is built in yet: only the virtual keyboard can be used, "
                "with --simulate (the real keyboard is vendor 0x0C45, product 0x5304 or 0x5004)";
        return nullptr;
    }
    sim::KeyboardMemory memory = sim::MakeFactoryMemory();
    if (!options.simulateState.empty() &&
        sim::LoadKeyboardState(options.simulateState, memory, error) == sim::StateLoad::Failed) {
        return nullptr;
    }
    auto parts = std::make_unique<Parts>(std::move(memory));
    parts->statePath = options.simulateState;
    parts->channel.SetLatency(std::chrono::milliseconds(options.latencyMs));
    ReportChannel* channel = &parts->channel;
    if (options.trace) {
        parts->tracing.emplace(parts->channel,
                               [&traceOut](char direction, std::span<const std::uint8_t> report) {
                                   traceOut << FormatTraceLine(direction, report) << '\n';
                               });
        channel = &*parts->tracing;
    }
    parts->link.Connect(*channel);
    return std::unique_ptr<KeyboardSession>(new KeyboardSession(std::move(parts)));
}

KeyboardSession::KeyboardSession(std::unique_ptr<Parts> parts) : m_parts(std::move(parts)) {}

KeyboardSession::~KeyboardSession() {
    if (m_parts) {
        m_parts->link.Disconnect();
    }
}

DeviceLink& KeyboardSession::Link() { return m_parts->link; }

bool KeyboardSession::Save(std::string& error) {
    if (m_parts->statePath.empty()) {
        return true;
    }
    return sim::SaveKeyboardState(m_parts->statePath, m_parts->keyboard.Memory(), error);
}

}  // namespace korvel::cli
