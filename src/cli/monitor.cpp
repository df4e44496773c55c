#include "cli/monitor.h"

#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include "cli/console_prompts.h"
#include "device/device_link.h"
#include "model/keys/key_codec.h"
#include "model/keys/key_codes.h"
#include "sync/device_presence.h"
#include "sync/event_listener.h"

namespace korvel::cli {
namespace {

// The main window as the monitor sees it: every arrival and removal becomes a line.
class MonitorWindow : public MainWindowLink {
public:
    explicit MonitorWindow(std::ostream& out) : m_out(out) {}

    void SendReloadFromKeyboard() override { Print("connected"); }
    void SendKeyboardGone() override { Print("disconnected"); }
    void PostOpenMainWindow() override {}
    void HideMainWindow() override {}
    bool IsReady() const override { return true; }
    void ShowTrayState(bool, std::uint16_t) override {}
    void StartLightingRefresh() override {}

    void Print(const std::string& line) {
        std::lock_guard lock(m_mutex);
        m_out << line << std::endl;
    }

private:
    std::mutex m_mutex;
    std::ostream& m_out;
};

}  // namespace

int RunMonitor(HidBackend& backend, std::ostream& out, std::ostream& err,
               const std::atomic<bool>& stop, std::chrono::milliseconds stopPoll) {
    MonitorWindow window(out);
    DeviceLink link;
    KeyCodec codec;
    ConsolePrompts prompts(err, nullptr);
    EventListener listener(backend, window);
    listener.SetEventObserver([&window](std::uint16_t code) {
        char line[40];
        std::snprintf(line, sizeof line, "event 0x%04x", code);
        std::string text = line;
        // A G key's press is named, with its bank when it is not the one the window shows.
        if (const int slot = GKeySlotOfCode(code); slot != 0) {
            text += " G" + std::to_string(GKeyNumberOfSlot(slot));
            if (slot != GKeySlot(GKeyNumberOfSlot(slot), GKeyBank::A)) {
                text += " (bank B)";
            }
            text += " pressed";
        }
        window.Print(text);
    });
    DevicePresence presence(backend, link, codec, window, prompts, {});
    presence.SetFirstOpenDone();
    listener.Start();
    presence.Start();
    while (!stop.load()) {
        std::this_thread::sleep_for(stopPoll);
    }
    presence.Stop();
    listener.Stop();
    return 0;
}

}  // namespace korvel::cli
