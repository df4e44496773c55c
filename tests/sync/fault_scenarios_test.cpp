// A keyboard that fails in the middle of an operation: unplugged, an error status inside a key
// table, replies to only every other request, a macro area that claims more than the keyboard
// holds. Whatever happens, the operation answers what it did, the working file is either exactly
// as before or wholly replaced, and EditingConfig is either exactly as before or wholly loaded.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model/files/profile_file.h"
#include "model/files/profile_locations.h"
#include "model/macros/macro_blob.h"
#include "support/keyboard_fixture.h"
#include "support/lighting_fixture.h"
#include "support/temp_folder.h"
#include "sync/device_backup.h"

namespace korvel::test {
namespace {

using korvel::fixtures::ReadBytes;
using korvel::fixtures::TempFolder;

// The keyboard fixture's texts and time-outs, for worlds that are not a test fixture themselves.
struct Fixture : KeyboardFixture {
    using KeyboardFixture::FastTimings;
    using KeyboardFixture::Texts;
};

enum class Operation { Download, Backup, Reload, LightingRead };
enum class Fault { UnplugHalfway, StatusFEInLastKeyTable, AnswerEveryOther, OversizedMacroArea };
// What EditingConfig must hold afterwards.
enum class Editing { Unchanged, WorkingFile, Defaults };

// One complete program: a keyboard, its link, the two holders with an edited configuration saved
// as the working file, the download and the lighting operations. Each scenario runs the operation
// once on a clean world to learn where its middle lies, then again on a fresh world with the fault.
class World {
public:
    World()
        : channel(keyboard),
          link(Timings()),
          parts{store, link, keyCodec, prompts, Fixture::Texts()},
          lighting(lightingState, link, view, folder / "deze.ini") {
        link.Connect(channel);
        link.SetMacroCapacity(keyboard.Memory().MacroCapacity());
        CreateDefaultConfig(store, {}, 0, true);
        EditingHolder& editing = store.EditingConfig();
        editing.Image()->blocks[0][SlotOfScan(0x01E)] = {kEntryMacro, 1, 1, 0, 0};
        editing.Image()->blocks[2][SlotOfScan(0x030)] = {kEntryKey, 0, 0x02C, 0, 0};
        editing.SetMacros({TwoActionMacro(1, u"Copy"), TwoActionMacro(2, u"Paste")});
        EnsureProfileDirectory(folder.Path());
        EXPECT_TRUE(SaveProfileFile(store, true, WorkingFile()));
        savedFile = ReadBytes(WorkingFile());
        editingBefore = EditingBytes();
    }

    static LinkTimings Timings() {
        LinkTimings timings = Fixture::FastTimings();
        timings.readTimeoutMs = 5;  // a silent keyboard costs little; replies come at once
        return timings;
    }

    std::filesystem::path WorkingFile() const { return korvel::WorkingFile(folder.Path()); }

    std::vector<std::uint8_t> EditingBytes() {
        EditingHolder& editing = store.EditingConfig();
        auto lock = editing.Lock();
        return SerializeEditingConfig(editing);
    }

    // The operation's result: 1/0 for the download, the backup and the reload (1: from the
    // keyboard), the lighting read's own answer (0, or -1 without an information block).
    int Run(Operation operation) {
        switch (operation) {
            case Operation::Download:
                return StageAndDownload(parts, true);
            case Operation::Backup:
                return BackupDeviceToFile(link, keyCodec, Fixture::Texts(), WorkingFile()) ? 1 : 0;
            case Operation::Reload:
                return ReloadFromDevice(store, link, keyCodec, Fixture::Texts(), folder.Path()) ==
                               ReloadOutcome::FromKeyboard
                           ? 1
                           : 0;
            case Operation::LightingRead:
                return lighting.ReadAllLighting();
        }
        return -99;
    }

    // A macro area whose head announces 200 macros and 0xFFFF bytes; the offsets after the head
    // point everywhere, the first two at real macros.
    void DamageMacroArea() {
        sim::KeyboardMemory memory = keyboard.Memory();
        const MacroRecord macros[] = {TwoActionMacro(1, u"A"), TwoActionMacro(2, u"B")};
        const auto area = BuildMacroBlob(
            macros, static_cast<std::uint16_t>(MeasureMacros(macros).fullSize), true);
        ASSERT_TRUE(area.has_value());
        std::fill(memory.macroArea.begin(), memory.macroArea.end(), 0xA5);
        std::copy(area->begin(), area->end(), memory.macroArea.begin());
        memory.macroArea[2] = 0xFF;  // size
        memory.macroArea[3] = 0xFF;
        memory.macroArea[4] = 200;  // count
        memory.macroArea[5] = 0;
        keyboard.SetMemory(memory);
    }

    sim::VirtualKeyboard keyboard;
    sim::SimulatedChannel channel;
    DeviceLink link;
    KeyCodec keyCodec;
    ScriptedPrompts prompts;
    ConfigStore store;
    DownloadParts parts;
    TempFolder folder;
    LightingState lightingState;
    RecordingLightingView view;
    LightingOps lighting;
    std::string savedFile;
    std::vector<std::uint8_t> editingBefore;
};

struct Scenario {
    const char* what;
    Operation operation;
    Fault fault;
    int result;
    bool fileKept;  // else: replaced by exactly what the operation writes without the fault
    Editing editing;
};

// Position in the clean run's requests of the fault: the middle of the last key table the
// operation touches (written by a download, read by a backup), or the middle of everything.
std::size_t FaultPosition(const std::vector<CommandReport>& clean, Fault fault) {
    if (fault == Fault::UnplugHalfway) {
        return clean.size() / 2;
    }
    std::vector<std::size_t> lastTable;
    for (std::size_t i = 0; i < clean.size(); ++i) {
        const std::uint8_t command = clean[i].Command();
        if ((command == CMD_WRITE_KEYTABLE || command == CMD_READ_KEYTABLE) &&
            clean[i].Address() >= 2 * kKeyTableBytes) {
            lastTable.push_back(i);
        }
    }
    EXPECT_GE(lastTable.size(), 3u);
    return lastTable.empty() ? 0 : lastTable[lastTable.size() / 2];
}

TEST(FaultScenarios, OperationsEndWholeOrNotAtAll) {
    const Scenario scenarios[] = {
        {"download, unplugged halfway", Operation::Download, Fault::UnplugHalfway, 0, true,
         Editing::Unchanged},
        {"download, 0xFE inside the last key table", Operation::Download,
         Fault::StatusFEInLastKeyTable, 0, true, Editing::Unchanged},
        {"download, every other request unanswered", Operation::Download, Fault::AnswerEveryOther,
         1, true, Editing::Unchanged},
        {"backup, unplugged halfway", Operation::Backup, Fault::UnplugHalfway, 0, true,
         Editing::Unchanged},
        {"backup, 0xFE inside the last key table", Operation::Backup, Fault::StatusFEInLastKeyTable,
         0, true, Editing::Unchanged},
        {"backup, every other request unanswered", Operation::Backup, Fault::AnswerEveryOther, 1,
         false, Editing::Unchanged},
        {"backup, macro area claims more than it holds", Operation::Backup,
         Fault::OversizedMacroArea, 1, false, Editing::Unchanged},
        {"reload, unplugged halfway", Operation::Reload, Fault::UnplugHalfway, 0, true,
         Editing::Defaults},
        {"reload, 0xFE inside the last key table", Operation::Reload, Fault::StatusFEInLastKeyTable,
         0, true, Editing::Defaults},
        {"reload, every other request unanswered", Operation::Reload, Fault::AnswerEveryOther, 1,
         false, Editing::WorkingFile},
        {"reload, macro area claims more than it holds", Operation::Reload,
         Fault::OversizedMacroArea, 1, false, Editing::WorkingFile},
        {"lighting read, unplugged halfway", Operation::LightingRead, Fault::UnplugHalfway, 0, true,
         Editing::Unchanged},
        {"lighting read, every other request unanswered", Operation::LightingRead,
         Fault::AnswerEveryOther, 0, true, Editing::Unchanged},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.what);
        // The clean run: where the middle is, and what a successful run leaves behind.
        World clean;
        if (s.fault == Fault::OversizedMacroArea) {
            clean.DamageMacroArea();
        }
        clean.keyboard.ClearReceived();
        const int cleanResult = clean.Run(s.operation);
        const std::vector<CommandReport> cleanRequests = clean.keyboard.Received();
        const std::string cleanFile = ReadBytes(clean.WorkingFile());
        const sim::KeyboardMemory cleanKeyboard = clean.keyboard.Memory();
        ASSERT_FALSE(cleanRequests.empty());

        World world;
        switch (s.fault) {
            case Fault::UnplugHalfway:
                world.channel.UnplugAfterWrites(
                    static_cast<int>(FaultPosition(cleanRequests, s.fault)));
                break;
            case Fault::StatusFEInLastKeyTable:
                world.keyboard.AnswerWithStatus(
                    sim::kStatusBadChecksum, 1,
                    static_cast<int>(FaultPosition(cleanRequests, s.fault)));
                break;
            case Fault::AnswerEveryOther:
                world.keyboard.AnswerEveryOther(true);
                break;
            case Fault::OversizedMacroArea:
                world.DamageMacroArea();
                break;
        }
        const int result = world.Run(s.operation);
        world.keyboard.AnswerEveryOther(false);

        EXPECT_EQ(result, s.result);
        if (s.fault == Fault::AnswerEveryOther) {
            // Every request went out twice: once unanswered, once answered.
            EXPECT_EQ(world.keyboard.Received().size(), 2 * cleanRequests.size());
        }
        if (s.fault == Fault::UnplugHalfway) {
            EXPECT_FALSE(world.keyboard.IsPlugged());
        }
        if (s.operation == Operation::LightingRead) {
            EXPECT_EQ(world.lighting.LastReadComplete(), s.fault != Fault::UnplugHalfway);
        }
        if (s.result == 1) {
            EXPECT_EQ(cleanResult, 1);
        }
        if (s.fault == Fault::AnswerEveryOther && s.operation == Operation::Download) {
            // Every command was taken on its second attempt, so the keyboard holds what a clean
            // download gives it.
            EXPECT_EQ(world.keyboard.Memory(), cleanKeyboard);
        }
        const std::string file = ReadBytes(world.WorkingFile());
        if (s.fileKept) {
            EXPECT_EQ(file, world.savedFile);
        } else {
            EXPECT_EQ(file, cleanFile);
            EXPECT_NE(file, world.savedFile);
        }
        const std::vector<std::uint8_t> editing = world.EditingBytes();
        switch (s.editing) {
            case Editing::Unchanged:
                EXPECT_EQ(editing, world.editingBefore);
                break;
            case Editing::WorkingFile:
                EXPECT_EQ(std::string(editing.begin(), editing.end()), file);
                break;
            case Editing::Defaults: {
                ConfigStore fresh;
                CreateDefaultConfig(fresh, {}, 0, true);
                auto lock = fresh.EditingConfig().Lock();
                EXPECT_EQ(editing, SerializeEditingConfig(fresh.EditingConfig()));
                break;
            }
        }
        for (const auto& f :
             std::filesystem::directory_iterator(korvel::ProfileDirectory(world.folder.Path()))) {
            EXPECT_EQ(f.path().filename(), world.WorkingFile().filename())
                << "a temporary file was left behind";
        }
    }
}

// A macro area that claims more than the keyboard holds is read no further than the keyboard's
// capacity, and what comes back stays within a configuration's limits.
TEST(FaultScenarios, AnOversizedMacroAreaIsReadOnlyAsFarAsTheKeyboardHoldsIt) {
    World world;
    world.DamageMacroArea();
    world.keyboard.ClearReceived();
    ASSERT_EQ(world.Run(Operation::Reload), 1);
    const int capacity = world.keyboard.Memory().MacroCapacity();
    for (const CommandReport& request : world.keyboard.Received()) {
        if (request.Command() == CMD_READ_MACROS) {
            EXPECT_LE(request.Address() + request.Length(), capacity);
        }
    }
    EditingHolder& editing = world.store.EditingConfig();
    auto lock = editing.Lock();
    ASSERT_GE(editing.Macros().size(), 2u);
    EXPECT_LE(editing.Macros().size(), static_cast<std::size_t>(kMaxMacros));
    EXPECT_EQ(editing.Macros()[0].name, u"A");
    EXPECT_EQ(editing.Macros()[1].name, u"B");
}

}  // namespace
}  // namespace korvel::test
