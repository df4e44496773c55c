#include "sync/device_presence.h"

#include "device/command_set.h"
#include "device/keyboard_identity.h"
#include "device/result_codes.h"
#include "model/keys/key_codec.h"
#include "ports/prompts.h"
#include "sync/keyboard_arrival.h"
#include "sync/keyboard_service.h"

namespace korvel {
namespace {

constexpr std::u16string_view kDefaultMatrixPromptBuiltIn =
    u"Reads the default keyboard layout failure";

}  // namespace

DevicePresence::DevicePresence(HidBackend& backend, DeviceLink& link, KeyCodec& keyCodec,
                               MainWindowLink& window, Prompts& prompts, TextLookup texts,
                               PresenceTimings timings)
    : m_backend(backend),
      m_link(link),
      m_keyCodec(keyCodec),
      m_window(window),
      m_prompts(prompts),
      m_texts(std::move(texts)),
      m_timings(timings),
      m_device(backend) {}

DevicePresence::~DevicePresence() {
    Stop();
}

void DevicePresence::Start() {
    m_worker.Start([this] { Run(); });
}

void DevicePresence::RequestStop() {
    m_worker.RequestStop();
}

void DevicePresence::Stop() {
    m_worker.Stop();
    m_link.Disconnect();
    m_device.Close();
}

void DevicePresence::Run() {
    bool firstPass = true;
    if (m_firstOpenDone.load() && !Sleep(m_timings.startPause)) {
        return;
    }
    InitialProbe();
    while (!Stopping() && !m_ended.load()) {
        if (m_link.IsConnected()) {
            if (!m_backend.Exists(m_device.DevicePath())) {
                m_link.Disconnect();
                OnConnectionChange(0);
            }
        } else {
            if (!m_device.Enumerate()) {
                m_ended.store(true);
                return;
            }
            Search();
            if (firstPass) {
                firstPass = false;
                const int found = m_link.IsConnected() ? 1 : 0;
                OnConnectionChange(found);
                if (found == 0) {
                    m_firstOpenDone.store(true);
                }
            }
            m_device.ReleasePaths();
        }
        if (!Sleep(m_link.IsConnected() ? m_timings.connectedCheck : m_timings.search)) {
            return;
        }
    }
}

template <typename Value>
Value DevicePresence::OnKeyboard(std::function<Value()> talk, Value stopped) {
    if (m_service == nullptr) {
        return talk();
    }
    auto result = m_service->Run<Value>("arrival", [&talk](JobContext&) { return talk(); });
    return result.value.value_or(stopped);
}

void DevicePresence::InitialProbe() {
    if (!m_device.Enumerate()) {
        m_ended.store(true);
        return;
    }
    if (OpenNextKeyboardCollection(m_device, kCommandUsagePage, kCommandUsage, true)) {
        // The probe only wakes the keyboard; what it answers is not used.
        m_link.Connect(m_device);
        OnKeyboard<int>(
            [this] {
                DeviceInfoBlock ignored;
                return DevReadInfo(m_link, ignored);
            },
            0);
        m_link.Disconnect();
        m_device.Close();
    }
    m_device.ReleasePaths();
    m_link.Disconnect();
}

bool DevicePresence::Search() {
    if (!OpenNextKeyboardCollection(m_device, kCommandUsagePage, kCommandUsage, true)) {
        return false;
    }
    m_link.Connect(m_device);
    OnConnectionChange(1);
    return true;
}

int DevicePresence::OnConnectionChange(int newState) {
    m_changeBusy.store(true);
    if (newState != m_lastReportedState.load()) {
        if (newState == 1) {
            const bool tableRead = OnKeyboard<bool>(
                [this] { return TakeKeyboardBasics(m_link, m_keyCodec).defaultKeyTableRead; },
                true);
            if (!tableRead) {
                m_prompts.ShowMessage(
                    LocalisedOr(m_texts, "MAIN_DEFAULT_MATRIX_PROMPT", kDefaultMatrixPromptBuiltIn),
                    MessageKind::Warning);
            }
            m_window.SendReloadFromKeyboard();
        } else {
            m_link.SetActiveProfileCache(-1);
            m_window.SendKeyboardGone();
            m_window.HideMainWindow();
        }
        while (!m_window.IsReady()) {
            if (!Sleep(m_timings.readyPoll)) {
                m_changeBusy.store(false);
                return 0;
            }
        }
        m_window.ShowTrayState(false, newState == 1 ? kIconKeyboardPresent : kIconKeyboardGone);
        m_lastReportedState.store(newState);
        if (!m_firstOpenDone.load()) {
            if (newState == 1) {
                m_window.PostOpenMainWindow();
            }
            m_firstOpenDone.store(true);
        }
    }
    m_changeBusy.store(false);
    return 0;
}

}  // namespace korvel
