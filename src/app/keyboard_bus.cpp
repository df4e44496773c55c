#include "app/keyboard_bus.h"

#include <chrono>
#include <filesystem>
#include <optional>

#include "app/keyboard_access_message.h"
#include "base/file_lock.h"

#include "device/hidapi/hidapi_backend.h"
#include "device/hidapi/hidraw_access.h"
#include "device/sim/keyboard_state_file.h"
#include "device/sim/simulated_backend.h"
#include "device/sim/virtual_keyboard.h"

namespace korvel {

struct KeyboardBus::Parts {
    std::unique_ptr<FileLock> stateLock;
    std::unique_ptr<sim::VirtualKeyboard> keyboard;
    std::unique_ptr<HidBackend> backend;
    std::string statePath;
    std::optional<sim::KeyboardMemory> saved;  // what the state file holds, when it exists
};

std::unique_ptr<KeyboardBus> KeyboardBus::Open(const Options& options, std::string& error) {
    auto parts = std::make_unique<Parts>();
    if (options.simulate) {
        sim::KeyboardMemory memory = sim::MakeFactoryMemory();
        if (!options.statePath.empty()) {
            std::filesystem::path lockFile = options.statePath;
            lockFile += ".lock";
            parts->stateLock = FileLock::Acquire(lockFile, ThisProcessAsHolder(options.holderName),
                                                 kStatePatience, error);
            if (!parts->stateLock) {
                error = "The virtual keyboard state " + options.statePath + " is in use: " + error;
                return nullptr;
            }
            switch (sim::LoadKeyboardState(options.statePath, memory, error)) {
                case sim::StateLoad::Failed:
                    return nullptr;
                case sim::StateLoad::Loaded:
                    parts->saved = memory;
                    break;
                case sim::StateLoad::Missing:
                    break;
            }
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

bool KeyboardBus::InjectEvent(std::uint16_t code) {
    sim::VirtualKeyboard* keyboard = VirtualKeyboard();
    if (keyboard == nullptr) {
        return false;
    }
    keyboard->InjectEvent(code);
    return true;
}

std::string KeyboardBus::AccessProblem(const std::filesystem::path& udevRule) const {
    if (m_parts->keyboard) {
        return {};
    }
    return KeyboardAccessMessage(FindBlockedKeyboardNodes(HidrawSystemRoot()), udevRule);
}

bool KeyboardBus::Save(std::string& error) {
    if (m_parts->statePath.empty()) {
        return true;
    }
    sim::KeyboardMemory memory = m_parts->keyboard->Memory();
    if (m_parts->saved && *m_parts->saved == memory) {
        return true;
    }
    if (!sim::SaveKeyboardState(m_parts->statePath, memory, error)) {
        return false;
    }
    m_parts->saved = std::move(memory);
    return true;
}

}  // namespace korvel
