#pragma once

#include <cstddef>
#include <deque>
#include <initializer_list>
#include <mutex>
#include <string>
#include <vector>

#include "ports/prompts.h"

namespace korvel {

// What a ScriptedPrompts was asked to show, in order.
struct ShownPrompt {
    bool isQuestion = false;
    MessageKind kind = MessageKind::Information;  // messages only
    std::u16string text;
    Answer defaultAnswer = Answer::No;  // questions only
    Answer answer = Answer::No;         // questions only: what was given back
};

// Prompts for tests: remembers everything shown and answers questions from a queue filled in
// advance. A question with no answer left in the queue gets its default answer, as a user who just
// presses Enter would give; tests that must not be asked anything check Shown().
class ScriptedPrompts : public Prompts {
public:
    ScriptedPrompts() = default;
    explicit ScriptedPrompts(std::initializer_list<Answer> answers);

    void QueueAnswer(Answer answer);
    // The answer the next question about pending edits gets; without one: Keep.
    void QueuePendingEditsAnswer(PendingEdits answer);

    void ShowMessage(std::u16string_view text, MessageKind kind) override;
    Answer AskYesNo(std::u16string_view text, Answer defaultAnswer = Answer::No) override;
    PendingEdits AskAboutPendingEdits(std::u16string_view text) override;

    std::vector<ShownPrompt> Shown() const;
    std::size_t UnusedAnswers() const;

private:
    mutable std::mutex m_mutex;
    std::deque<Answer> m_answers;
    std::deque<PendingEdits> m_pendingEditsAnswers;
    std::vector<ShownPrompt> m_shown;
};

}  // namespace korvel
