// What korvelctl prints can neither steer the user's terminal nor vanish without an error.
#include <gtest/gtest.h>

#include <ostream>
#include <sstream>

#include "cli/korvelctl_run.h"
#include "cli/run_cli.h"
#include "cli/sample_profile.h"
#include "support/temp_folder.h"

namespace korvel::cli::test {
namespace {

TEST(TerminalSafety, TextsFromFilesArePrintedWithTheirControlCharactersEscaped) {
    fixtures::TempFolder folder;
    ConfigStore store;
    ASSERT_TRUE(WriteSampleProfile(store, folder / "plain.kvp"));
    EditingHolder& editing = store.EditingConfig();
    std::vector<MacroRecord> macros = editing.Macros();
    // Retitles the terminal, then clears it; then a C1 control in UTF-8.
    macros[0].name = u"\x1b]0;owned\x07\x1b[2J\u009b!";
    editing.SetMacros(macros);
    editing.Strings().SetText(GlobalEntryIndex(2, SlotOfScan(0x020)), u"line\nbreak\r");
    const std::string file = (folder / "hostile\x1b[2J.kvp").string();
    ASSERT_TRUE(SaveProfileFile(store, true, file));

    const Outcome dump = Korvelctl({"dump", file});
    EXPECT_EQ(dump.status, 0);
    EXPECT_NE(dump.out.find("macro 3 \"\\x1b]0;owned\\x07\\x1b[2J\\u009b!\""), std::string::npos)
        << dump.out;
    EXPECT_NE(dump.out.find("\"line\\x0abreak\\x0d\""), std::string::npos) << dump.out;

    fixtures::WriteBytes(folder / "short\x1b[2J.kvp", "too short");
    const Outcome refused = Korvelctl({"validate", (folder / "short\x1b[2J.kvp").string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("short\\x1b[2J.kvp"), std::string::npos) << refused.err;

    for (const Outcome& run : {dump, refused}) {
        for (const std::string& text : {run.out, run.err}) {
            EXPECT_EQ(text.find('\x1b'), std::string::npos);
            EXPECT_EQ(text.find('\x07'), std::string::npos);
            EXPECT_EQ(text.find("\xc2\x9b"), std::string::npos);
        }
    }
}

TEST(TerminalSafety, ArgumentsAndTextsInMessagesArePrintedWithTheirControlCharactersEscaped) {
    fixtures::TempFolder folder;
    ConfigStore store;
    const std::string profile = (folder / "p.kvp").string();
    ASSERT_TRUE(WriteSampleProfile(store, profile));
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string shown;  // as the message shows it
    };
    const Case cases[] = {
        {{"frob\x1b[2J\r"}, 2, "unknown command 'frob\\x1b[2J\\x0d'"},
        {{"--bogus\x1b]0;owned\x07", "info"}, 2, "--bogus\\x1b]0;owned\\x07"},
        {{"info", "--all\x1b[2J"}, 2, "--all\\x1b[2J"},
        {{"profile", "2\x1b[2J\r"}, 2, "not '2\\x1b[2J\\x0d'"},
        {{"blob", profile, "\x1b[2J"}, 2, "not '\\x1b[2J'"},
        {{"--latency-ms", "\r\x1b[2J", "info"}, 2, "'\\x0d\\x1b[2J'"},
        {{"lighting", "set", "glow\x1b[2J", "1"}, 2, "'glow\\x1b[2J'"},
        // The built-in text of a macro area that cannot fit has a CR LF line break.
        {{"blob", profile, "0"}, 1, "hardware space.\\x0d\n"},
    };
    for (const Case& c : cases) {
        const Outcome run = Korvelctl(c.args);
        SCOPED_TRACE(testing::PrintToString(c.args));
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.shown), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find_first_of("\x1b\x07\r"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST(TerminalSafety, OutputThatCannotBeWrittenFailsTheCommand) {
    fixtures::TempFolder folder;
    ConfigStore store;
    ASSERT_TRUE(WriteSampleProfile(store, folder / "p.kvp"));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"dump", (folder / "p.kvp").string()},
          std::vector<std::string>{"--version"}}) {
        std::ostream full(nullptr);  // every write fails, as on a full disk
        std::ostringstream err;
        EXPECT_EQ(RunCli(args, full, err), 1) << args[0];
        EXPECT_NE(err.str().find("the output could not be written"), std::string::npos);
    }
}

}  // namespace
}  // namespace korvel::cli::test
