#include <gtest/gtest.h>

#include <cstdlib>

#include "cli/korvelctl_run.h"
#include "model/files/program_rules.h"
#include "support/temp_folder.h"

namespace korvel::cli {
namespace {

using test::Korvelctl;
using test::Outcome;

// The rules' file below a configuration folder of the test's own.
class RulesCommand : public ::testing::Test {
protected:
    RulesCommand() {
        if (const char* before = std::getenv("XDG_CONFIG_HOME")) {
            m_before = before;
        }
        setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
    }
    ~RulesCommand() override {
        if (m_before) {
            setenv("XDG_CONFIG_HOME", m_before->c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
    }

    fixtures::TempFolder folder;

private:
    std::optional<std::string> m_before;
};

TEST_F(RulesCommand, AddListRemoveAndTheRulesTheWindowReads) {
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"rules", "add", "firefox", "2"},
          {"rules", "add", "Gimp", "3"},
          {"rules", "add", "GIMP", "1"},
          {"rules", "add", "*", "1"}}) {
        const Outcome run = Korvelctl(command);
        ASSERT_EQ(run.status, 0) << run.err;
    }
    EXPECT_EQ(Korvelctl({"rules", "list"}).out,
              "firefox → profile 2\nGimp → profile 1\nevery other program → profile 1\n");
    EXPECT_EQ(Korvelctl({"rules", "list", "--json"}).out,
              "{\"rules\":[{\"program\":\"firefox\",\"profile\":2},{\"program\":\"Gimp\","
              "\"profile\":1}],\"otherwise\":1}\n");

    const ProgramRules rules = ReadProgramRules(ProgramRulesFile());
    EXPECT_EQ(ProfileForProgram(rules, u"Navigator", u"firefox"), 1);
    EXPECT_EQ(ProfileForProgram(rules, u"gimp", u""), 0);
    EXPECT_EQ(ProfileForProgram(rules, u"XTerm", u"xterm"), 0);

    EXPECT_EQ(Korvelctl({"rules", "remove", "gimp"}).status, 0);
    EXPECT_EQ(Korvelctl({"rules", "remove", "*"}).status, 0);
    const Outcome missing = Korvelctl({"rules", "remove", "gimp"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("there is no rule for 'gimp'"), std::string::npos);
    EXPECT_EQ(Korvelctl({"rules", "add", "x", "4"}).status, 2);
    EXPECT_EQ(Korvelctl({"rules", "list"}).out, "firefox → profile 2\n");
}

TEST_F(RulesCommand, AHandEditedRuleOutsideTheProfilesIsIgnoredWithAWarning) {
    std::filesystem::create_directories(ProgramRulesFile().parent_path());
    fixtures::WriteBytes(ProgramRulesFile(),
                         "[Rules]\nCount=3\nProgram1=a\nProfile1=7\nProgram2=b\nProfile2=2\n"
                         "Program3=\nProfile3=1\n[Otherwise]\nProfile=0\n");
    std::vector<std::string> warnings;
    const ProgramRules rules = ReadProgramRules(ProgramRulesFile(), &warnings);
    EXPECT_EQ(rules.rules, (std::vector<ProgramRule>{{u"b", 1}}));
    EXPECT_FALSE(rules.otherwise);
    EXPECT_EQ(warnings.size(), 3u);
    const Outcome listed = Korvelctl({"rules", "list"});
    EXPECT_EQ(listed.out, "b → profile 2\n");
    EXPECT_NE(listed.err.find("rule 1 (a → 7) is ignored"), std::string::npos) << listed.err;
}

}  // namespace
}  // namespace korvel::cli
