#include <sstream>

#include <gtest/gtest.h>

#include "cli/console_prompts.h"
#include "support/scripted_prompts.h"

namespace korvel {
namespace {

struct ConsoleCase {
    const char* name;
    const char* replies;
    Answer defaultAnswer;
    Answer expected;
};

class ConsoleQuestion : public ::testing::TestWithParam<ConsoleCase> {};

TEST_P(ConsoleQuestion, ReadsTheAnswerOrTakesTheDefault) {
    std::ostringstream output;
    std::istringstream replies(GetParam().replies);
    ConsolePrompts prompts(output, &replies);
    EXPECT_EQ(
        prompts.AskYesNo(u"Do you want to restore the default settings?", GetParam().defaultAnswer),
        GetParam().expected);
    EXPECT_NE(output.str().find("Do you want to restore the default settings?"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ConsoleQuestion,
    ::testing::Values(
        ConsoleCase{"Y", "y\n", Answer::No, Answer::Yes},
        ConsoleCase{"YesInCapitals", "  YES \r\n", Answer::No, Answer::Yes},
        ConsoleCase{"N", "n\n", Answer::Yes, Answer::No},
        ConsoleCase{"No", "no\n", Answer::Yes, Answer::No},
        ConsoleCase{"EmptyLineTakesDefaultNo", "\n", Answer::No, Answer::No},
        ConsoleCase{"EmptyLineTakesDefaultYes", "\n", Answer::Yes, Answer::Yes},
        ConsoleCase{"EndOfInputTakesDefault", "", Answer::No, Answer::No},
        ConsoleCase{"AsksAgainAfterNonsense", "maybe\nyes\n", Answer::No, Answer::Yes},
        ConsoleCase{"GivesUpAfterRepeatedNonsense", "a\nb\nc\nyes\n", Answer::No, Answer::No}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConsolePrompts, WithoutAnswersEveryQuestionTakesItsDefaultAndSaysSo) {
    std::ostringstream output;
    ConsolePrompts prompts(output, nullptr);
    EXPECT_EQ(prompts.AskYesNo(u"Really need to clear the macro action?"), Answer::No);
    EXPECT_EQ(prompts.AskYesNo(u"Go on?", Answer::Yes), Answer::Yes);
    EXPECT_NE(output.str().find("(no answer given: no)"), std::string::npos);
    EXPECT_NE(output.str().find("(no answer given: yes)"), std::string::npos);
}

TEST(ConsolePrompts, MessagesAreUtf8LinesMarkedByKind) {
    std::ostringstream output;
    ConsolePrompts prompts(output, nullptr);
    prompts.ShowMessage(u"备份成功!", MessageKind::Information);
    prompts.ShowMessage(u"Reads the default keyboard layout failure", MessageKind::Warning);
    prompts.ShowMessage(u"File format error, import failed!", MessageKind::Error);
    EXPECT_EQ(output.str(),
              "备份成功!\n"
              "warning: Reads the default keyboard layout failure\n"
              "error: File format error, import failed!\n");
}

TEST(ScriptedPrompts, AnswersFromTheQueueThenWithTheDefaultAndRecordsEverything) {
    ScriptedPrompts prompts{Answer::Yes};
    prompts.QueueAnswer(Answer::No);
    prompts.ShowMessage(u"first", MessageKind::Warning);
    EXPECT_EQ(prompts.AskYesNo(u"one?"), Answer::Yes);
    EXPECT_EQ(prompts.AskYesNo(u"two?", Answer::Yes), Answer::No);
    EXPECT_EQ(prompts.UnusedAnswers(), 0u);
    EXPECT_EQ(prompts.AskYesNo(u"three?", Answer::Yes), Answer::Yes);
    EXPECT_EQ(prompts.AskYesNo(u"four?"), Answer::No);

    const std::vector<ShownPrompt> shown = prompts.Shown();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_FALSE(shown[0].isQuestion);
    EXPECT_EQ(shown[0].kind, MessageKind::Warning);
    EXPECT_EQ(shown[0].text, u"first");
    const std::u16string texts[] = {u"one?", u"two?", u"three?", u"four?"};
    const Answer answers[] = {Answer::Yes, Answer::No, Answer::Yes, Answer::No};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(shown[i + 1].isQuestion);
        EXPECT_EQ(shown[i + 1].text, texts[i]);
        EXPECT_EQ(shown[i + 1].answer, answers[i]);
    }
}

}  // namespace
}  // namespace korvel
