#include "app/keyboard_bus.h"

#include <chrono>

#include "device/hidapi/hidapi_backend.h"
#include "device/sim/keyboard_state_file.h"
#include "device/sim/simulated_backend.h"
#include "device/sim/virtual_keyboard.h"

namespace korvel {

struct KeyboardBus::Parts {
    std::unique_ptr<sim::VirtualKeyboard> keyboard;
    std::unique_ptr<HidBackend> backend;
    std::string statePath;
};

std::unique_ptr<KeyboardBus> KeyboardBus::Open(const Options& options, std::string& error) {
    auto parts = std::make_unique<Parts>();
    if (options.simulate) {
        sim::KeyboardMemory memory = sim::MakeFactoryMemory();
        if (!options.statePath.empty() &&
            sim::LoadKeyboardState(options.statePath, memory, error) == sim::StateLoad::Failed) {
            return nullptr;
        }
        parts->keyboard = std::make_unique<sim::VirtualKeyboard>(std::move(memory));
        auto backend = std::make_unique<sim::SimulatedBackend>(*parts->keyboard);
        backend->SetLatency(std::chrono::milliseconds(options.latencyMs));
        parts->backend = std::move(backend);
        parts->statePath = options.statePath;
    } else {
        parts->backend = std::make_unique<HidapiBackend>();
    }
    return std::unique_ptr<KeyboardBus>(new KeyboardBus(std::move(parts)));
}

KeyboardBus::KeyboardBus(std::unique_ptr<Parts> parts) : m_parts(std::move(parts)) {}
KeyboardBus::~KeyboardBus() = default;

HidBackend& KeyboardBus::Backend() {
    return *m_parts->backend;
}

sim::VirtualKeyboard* KeyboardBus::VirtualKeyboard() {
    return m_parts->keyboard.get();
}

bool KeyboardBus::Save(std::string& error) {
    if (m_parts->statePath.empty()) {
        return true;
    }
    return sim::SaveKeyboardState(m_parts->statePath, m_parts->keyboard->Memory(), error);
}

}  // namespace korvel
