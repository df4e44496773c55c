#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/keyboard_folder.h"
#include "model/files/profile_file.h"
#include "model/image/config_store.h"
#include "model/keys/key_codes.h"
#include "support/temp_folder.h"

namespace korvel::cli {
namespace {

using test::Outcome;

class DiffCommand : public test::KeyboardFolder {
protected:
    // A remap of A to B in profile 1, the macro "Fire" on S in profile 2; `change` alters it.
    std::string Write(const char* name, const std::function<void(EditingHolder&)>& change = {}) {
        ConfigStore store;
        CreateDefaultConfig(store, {}, 0, true);
        EditingHolder& editing = store.EditingConfig();
        editing.Image()->blocks[0][SlotOfScan(0x01E)] = {kEntryKey, 0, 0x030};
        editing.Image()->blocks[1][SlotOfScan(0x01F)] = {kEntryMacro, 0, 1};
        MacroRecord fire;
        fire.macroId = 1;
        fire.name = u"Fire";
        fire.loopCount = 1;
        fire.actions = {{30, 0x039, kMacroPress}, {0, 0x039, kMacroRelease}};
        editing.SetMacros({fire});
        if (change) {
            change(editing);
        }
        const std::string file = (folder / name).string();
        EXPECT_TRUE(SaveProfileFile(store, true, file));
        return file;
    }
};

TEST_F(DiffCommand, NamesEveryChangedKeyAndMacroAndNothingElse) {
    const std::string saved = Write("saved.kvp");
    const std::string changed = Write("changed.kvp", [](EditingHolder& editing) {
        editing.Image()->blocks[0][SlotOfScan(0x01E)] = {kEntryKey, 0, 0x02E};  // A sends C
        editing.Image()->blocks[2][SlotOfScan(0x020)] = {kEntryKey, 0, 0x012};  // D sends E
        editing.Macros()[0].loopCount = 3;
    });
    const std::string expected =
        "profile 1, A\n  - sends B\n  + sends C\n"
        "profile 3, D\n  - its own key\n  + sends E\n"
        "macro Fire\n  - 2 actions, 1 cycle\n  + 2 actions, 3 cycles\n";

    Outcome files = Run({"diff", saved, changed});
    EXPECT_EQ(files.status, 1) << files.err;
    EXPECT_EQ(files.out, expected);
    EXPECT_EQ(Run({"diff", saved, saved}).status, 0);

    // The keyboard against a file: what it holds once the file is imported, and then another.
    ASSERT_EQ(Run({"import", "--no-backup", saved}).status, 0);
    const Outcome same = Run({"diff", "keyboard", saved});
    EXPECT_EQ(same.status, 0) << same.out << same.err;
    EXPECT_EQ(same.out, "");
    ASSERT_EQ(Run({"import", "--no-backup", changed}).status, 0);
    const Outcome keyboard = Run({"diff", saved, "keyboard"});
    EXPECT_EQ(keyboard.status, 1) << keyboard.err;
    EXPECT_EQ(keyboard.out, expected);

    // Two complete backups differ in lighting too, field by field.
    ASSERT_EQ(Run({"backup", "--complete", (folder / "before.json").string()}).status, 0);
    ASSERT_EQ(Run({"lighting", "set", "brightness", "2", "3"}).status, 0);
    const Outcome lighting = Run({"diff", (folder / "before.json").string(), "keyboard", "--json"});
    EXPECT_EQ(lighting.status, 1);
    const auto document = nlohmann::json::parse(lighting.out);
    EXPECT_FALSE(document["same"]);
    ASSERT_EQ(document["differences"].size(), 1u);
    EXPECT_EQ(document["differences"][0]["kind"], "lighting");
    EXPECT_EQ(document["differences"][0]["profile"], 3);
    EXPECT_EQ(document["differences"][0]["where"], "profile 3, lighting brightness");
    EXPECT_EQ(document["differences"][0]["a"], "5");
    EXPECT_EQ(document["differences"][0]["b"], "2");
}

TEST_F(DiffCommand, TroubleIsStatusTwoWithItsReason) {
    const std::string saved = Write("saved.kvp");
    fixtures::WriteBytes(folder / "junk.kvp", "not a profile");
    fixtures::WriteBytes(folder / "junk.json", "{\"format\": \"other\", \"version\": 1}");
    const struct {
        std::string file;
        const char* said;
    } cases[] = {
        {(folder / "missing.kvp").string(), "there is no such file"},
        {(folder / "junk.kvp").string(), "not a profile file or a backup"},
        {(folder / "junk.json").string(), "this is not a keyboard backup"},
    };
    for (const auto& c : cases) {
        const Outcome run = Run({"diff", saved, c.file});
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("--help"), std::string::npos) << "no usage help for trouble";
        EXPECT_EQ(run.out, "");
    }
}

}  // namespace
}  // namespace korvel::cli
