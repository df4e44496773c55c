#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/keyboard_folder.h"
#include "model/files/profile_file.h"
#include "model/files/profile_locations.h"
#include "model/image/config_store.h"
#include "model/keys/key_codes.h"
#include "support/temp_folder.h"

namespace korvel::cli {
namespace {

using test::Outcome;

class MacroCommand : public test::KeyboardFolder {
protected:
    // The macros the keyboard holds, as `backup` reads them.
    std::vector<MacroRecord> OnKeyboard() {
        EXPECT_EQ(Run({"backup", (folder / "held.kvp").string()}).status, 0);
        const auto contents = ReadProfileFile(folder / "held.kvp");
        return contents ? contents->macros : std::vector<MacroRecord>{};
    }
};

TEST_F(MacroCommand, AddsShowsListsAndDeletesMacrosOnTheKeyboard) {
    const Outcome added = Run({"macro", "add", "Fire", "+Shift A 30ms -Shift", "--cycles", "2"});
    ASSERT_EQ(added.status, 0) << added.err;
    auto held = OnKeyboard();
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held[0].name, u"Fire");
    EXPECT_EQ(held[0].loopCount, 2);
    EXPECT_EQ(held[0].actions, (std::vector<MacroAction>{{0, 0x02A, kMacroPress},
                                                         {0, 0x01E, kMacroPress},
                                                         {30, 0x01E, kMacroRelease},
                                                         {0, 0x02A, kMacroRelease}}));
    EXPECT_EQ(Run({"macro", "show", "fire"}).out, "+Shift A 30ms -Shift\ncycles: 2\n");
    ASSERT_EQ(Run({"macro", "add", "Second", "F5"}).status, 0);
    EXPECT_EQ(Run({"macro", "list"}).out,
              "Fire: 4 actions, 2 cycles\nSecond: 2 actions, 1 cycle\n");
    const auto list = nlohmann::json::parse(Run({"macro", "list", "--json"}).out);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1]["name"], "Second");

    // A key that plays the deleted macro does its own function again.
    ASSERT_EQ(Run({"remap", "Q", "macro:Fire"}).status, 0);
    const Outcome deleted = Run({"macro", "delete", "Fire"});
    ASSERT_EQ(deleted.status, 0) << deleted.err;
    EXPECT_NE(deleted.err.find("profile 1, Q played it"), std::string::npos) << deleted.err;
    held = OnKeyboard();
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held[0].name, u"Second");
    const auto contents = ReadProfileFile(folder / "held.kvp");
    EXPECT_EQ(contents->image->blocks[0][SlotOfScan(0x010)].type, kEntryDefault);
}

TEST_F(MacroCommand, TheWindowsRefusalsChangeNothing) {
    std::string taps;
    for (int i = 0; i < 1000; ++i) {
        taps += "A ";
    }
    ASSERT_EQ(Run({"macro", "add", "Taken", "A"}).status, 0);
    ASSERT_EQ(Run({"macro", "add", "Big", taps}).status, 0);
    const struct {
        std::vector<std::string> args;
        int status;
        std::string said;
    } refused[] = {
        {{"macro", "add", "taken", "A"}, 1, "Another macro already has this name."},
        {{"macro", "add", "Empty Macro", "A"}, 1, "This name is reserved."},
        // Two macros of 2000 actions do not fit in the keyboard's 8192 bytes.
        {{"macro", "add", "Bigger", taps}, 1, "Macro space exceeds the hardware space."},
        {{"macro", "add", "X", "30ms A"}, 2, "a delay comes after a step"},
        {{"macro", "add", "X", "+Nokey"}, 2, "no key is named 'Nokey'"},
        {{"macro", "add", "X", "A 40001ms"}, 2, "at most 40000 ms"},
        {{"macro", "show", "nothing"}, 1, "there is no macro named 'nothing'"},
        {{"macro", "delete", "nothing"}, 1, "there is no macro named 'nothing'"},
    };
    const std::string before = fixtures::ReadBytes(WorkingFile(Documents()));
    for (const auto& r : refused) {
        const Outcome run = Run(r.args);
        EXPECT_EQ(run.status, r.status) << r.args[2];
        EXPECT_NE(run.err.find(r.said), std::string::npos) << run.err;
    }
    EXPECT_TRUE(fixtures::ReadBytes(WorkingFile(Documents())) == before) << "nothing changed";
    EXPECT_EQ(OnKeyboard().size(), 2u);

    // The 101st macro, in a working file that holds 100.
    ConfigStore store;
    CreateDefaultConfig(store, {}, 0, true);
    std::vector<MacroRecord> hundred(kMaxMacros);
    for (std::size_t i = 0; i < hundred.size(); ++i) {
        hundred[i].macroId = static_cast<std::uint16_t>(i + 1);
        hundred[i].name = u"m" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                          std::u16string(1, static_cast<char16_t>(u'a' + i / 26));
        hundred[i].loopCount = 1;
        hundred[i].actions = {{0, 0x01E, kMacroPress}};
    }
    store.EditingConfig().SetMacros(hundred);
    ASSERT_TRUE(SaveProfileFile(store, true, WorkingFile(Documents())));
    const Outcome full = Run({"macro", "add", "One more", "A"});
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("No more macros can be added: 100 is the most the keyboard holds."),
              std::string::npos)
        << full.err;
}

}  // namespace
}  // namespace korvel::cli
