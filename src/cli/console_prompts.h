#pragma once

#include <istream>
#include <mutex>
#include <ostream>

#include "ports/prompts.h"

namespace korvel {

// Prompts for the command-line tool: messages and questions go to `output` (standard error, so
// that they never mix with a command's results) in UTF-8, answers come from `answers`, one per
// line ("y", "yes", "n", "no", any case; an empty line takes the default). Without an answer
// stream (no terminal), or at its end, every question takes its default answer and says so.
class ConsolePrompts : public Prompts {
public:
    ConsolePrompts(std::ostream& output, std::istream* answers);

    void ShowMessage(std::u16string_view text, MessageKind kind) override;
    Answer AskYesNo(std::u16string_view text, Answer defaultAnswer = Answer::No) override;

private:
    std::mutex m_mutex;
    std::ostream& m_output;
    std::istream* m_answers;
};

}  // namespace korvel
