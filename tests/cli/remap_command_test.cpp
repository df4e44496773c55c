#include <gtest/gtest.h>

#include "cli/keyboard_folder.h"
#include "model/files/profile_file.h"
#include "model/files/profile_locations.h"
#include "model/image/config_store.h"
#include "model/keys/key_codes.h"
#include "support/temp_folder.h"

namespace korvel::cli {
namespace {

using test::Outcome;

class RemapCommand : public test::KeyboardFolder {
protected:
    // The entry of `scan` in `block` of a profile file.
    KeyEntry EntryIn(const std::filesystem::path& file, int block, ScanCode scan) {
        const auto contents = ReadProfileFile(file);
        EXPECT_TRUE(contents);
        return contents ? contents->image->blocks[static_cast<std::size_t>(block)][SlotOfScan(scan)]
                        : KeyEntry{};
    }
    // What the keyboard holds for `scan` in onboard profile `block`, read back by `backup`.
    KeyEntry OnKeyboard(int block, ScanCode scan) {
        EXPECT_EQ(Run({"backup", (folder / "held.kvp").string()}).status, 0);
        return EntryIn(folder / "held.kvp", block, scan);
    }
};

TEST_F(RemapCommand, RemapsAndResetsKeysByTheWindowsNamesAndDownloads) {
    const Outcome remapped = Run({"remap", "A", "B"});
    ASSERT_EQ(remapped.status, 0) << remapped.err;
    EXPECT_EQ(remapped.out, "profile 1: A: sends B\n");
    EXPECT_EQ(OnKeyboard(0, 0x01E), (KeyEntry{kEntryKey, 0, 0x030}));
    EXPECT_EQ(EntryIn(WorkingFile(Documents()), 0, 0x01E), (KeyEntry{kEntryKey, 0, 0x030}));

    // Names as the window shows them, without regard to case, blanks or '_'.
    const struct {
        std::vector<std::string> args;
        int block;
        ScanCode key;
        KeyEntry entry;
    } cases[] = {
        {{"remap", "caps_lock", "Volume Up"}, 0, 0x03A, {kEntryMedia, 0, 6}},
        {{"remap", "Caps Lock", "copy", "--profile", "2"}, 1, 0x03A, {kEntryFunction, 0, 4}},
        {{"remap", "tab", "LeftShift"}, 0, 0x00F, {kEntryKey, 0, 0x02A}},
        {{"reset", "A"}, 0, 0x01E, {kEntryDefault, 0, 0}},
    };
    for (const auto& c : cases) {
        const Outcome run = Run(c.args);
        ASSERT_EQ(run.status, 0) << c.args[1] << ": " << run.err;
        EXPECT_EQ(OnKeyboard(c.block, c.key), c.entry) << c.args[1];
    }
}

TEST_F(RemapCommand, AGKeyPlaysANamedMacroAndTheWindowsRefusalsHoldHere) {
    // A working file with the macro M, as an import leaves it.
    ConfigStore store;
    CreateDefaultConfig(store, {}, 0, true);
    MacroRecord m;
    m.macroId = 4;
    m.name = u"M";
    m.loopCount = 1;
    m.actions = {{10, 0x01E, kMacroPress}, {0, 0x01E, kMacroRelease}};
    store.EditingConfig().SetMacros({m});
    ASSERT_TRUE(SaveProfileFile(store, true, folder / "m.kvp"));
    ASSERT_EQ(Run({"import", "--no-backup", (folder / "m.kvp").string()}).status, 0);

    const Outcome g3 = Run({"remap", "G3", "macro:M", "--cycles", "2"});
    ASSERT_EQ(g3.status, 0) << g3.err;
    EXPECT_EQ(g3.out, "profile 1: G3: plays the macro M\n");
    const auto contents = ReadProfileFile(WorkingFile(Documents()));
    ASSERT_TRUE(contents);
    ASSERT_EQ(contents->macros.size(), 1u);
    EXPECT_EQ(contents->image->blocks[0][static_cast<std::size_t>(GKeySlot(3, GKeyBank::A))],
              (KeyEntry{kEntryMacro, 2, contents->macros[0].macroId}));

    const struct {
        std::vector<std::string> args;
        int status;
        const char* said;
    } refused[] = {
        {{"remap", "G9", "A"}, 1, "G9 can only play a macro"},
        {{"remap", "A", "macro:Nope"}, 1, "there is no macro named 'Nope'"},
        {{"remap", "Nokey", "A"}, 2, "no key is named 'Nokey'"},
        {{"remap", "A", "Nothing"}, 2, "'Nothing' is no key, media key, function or macro:NAME"},
        {{"remap", "A", "B", "--cycles", "0"}, 2, "cycles"},
    };
    const std::string before = fixtures::ReadBytes(WorkingFile(Documents()));
    for (const auto& r : refused) {
        const Outcome run = Run(r.args);
        EXPECT_EQ(run.status, r.status) << r.args[1];
        EXPECT_NE(run.err.find(r.said), std::string::npos) << run.err;
    }
    EXPECT_EQ(fixtures::ReadBytes(WorkingFile(Documents())), before) << "nothing changed";
}

}  // namespace
}  // namespace korvel::cli
