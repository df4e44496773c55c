#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "device/command_report.h"
#include "device/device_link.h"
#include "device/sim/simulated_channel.h"
#include "device/sim/virtual_keyboard.h"
#include "model/image/config_store.h"
#include "model/keys/key_codec.h"
#include "support/scripted_prompts.h"
#include "sync/hardware_download.h"

namespace korvel::test {

// A factory-new virtual keyboard on a connected link with short time-outs, the two configuration
// holders with a default EditingConfig, and a download wired as the program wires it.
class KeyboardFixture : public ::testing::Test {
protected:
    KeyboardFixture()
        : channel(keyboard), link(FastTimings()), parts{store, link, keyCodec, prompts, Texts()} {
        link.Connect(channel);
        link.SetMacroCapacity(keyboard.Memory().MacroCapacity());
        CreateDefaultConfig(store, {}, 0, true);
    }

    static LinkTimings FastTimings() {
        LinkTimings timings;
        timings.writeTimeoutMs = 50;
        timings.readTimeoutMs = 20;
        timings.pause = [](std::chrono::milliseconds) {};
        return timings;
    }

    // The language file's texts as the tests see them: the localised form is recognisable.
    static TextLookup Texts() {
        return [](std::string_view key) -> std::u16string {
            if (key == "EXTRA_PROFILE_SPACE_TIGHT") {
                return u"localised: names dropped";
            }
            if (key == "MACRO_NEW_PREFIX") {
                return u"Macro";
            }
            if (key == "PROFILE_FORMAT_ERROR") {
                return u"format: %s";
            }
            if (key == "MAIN_PROMPT_INPORT") {
                return u"import failed";
            }
            return u"";
        };
    }

    KeyEntry& Editing(int block, ScanCode sc) {
        return store.EditingConfig().Image()->blocks[static_cast<std::size_t>(block)]
                                                    [SlotOfScan(sc)];
    }

    int Apply(bool allProfiles = true) {
        keyboard.ClearReceived();
        return StageAndDownload(parts, allProfiles);
    }

    // The key table the keyboard now holds for onboard profile p.
    KeyTableBytes KeyboardTable(int p) const {
        const auto memory = keyboard.Memory();
        KeyTableBytes table{};
        std::copy_n(memory.keyTables.begin() + p * kKeyTableBytes, kKeyTableBytes, table.begin());
        return table;
    }

    std::vector<CommandReport> ReceivedWith(std::uint8_t command) const {
        std::vector<CommandReport> found;
        for (const CommandReport& report : keyboard.Received()) {
            if (report.Command() == command) {
                found.push_back(report);
            }
        }
        return found;
    }

    std::vector<std::u16string> ShownTexts() const {
        std::vector<std::u16string> texts;
        for (const ShownPrompt& shown : prompts.Shown()) {
            texts.push_back(shown.text);
        }
        return texts;
    }

    sim::VirtualKeyboard keyboard;
    sim::SimulatedChannel channel;
    DeviceLink link;
    KeyCodec keyCodec;
    ScriptedPrompts prompts;
    ConfigStore store;
    DownloadParts parts;
};

inline MacroRecord TwoActionMacro(std::uint16_t id, std::u16string name) {
    MacroRecord record;
    record.macroId = id;
    record.name = std::move(name);
    record.loopCount = 1;
    record.actions = {{120, 0x01E, kMacroPress}, {0, 0x01E, kMacroRelease}};
    return record;
}

}  // namespace korvel::test
