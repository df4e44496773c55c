#include "support/scripted_prompts.h"

namespace korvel {

ScriptedPrompts::ScriptedPrompts(std::initializer_list<Answer> answers) : m_answers(answers) {}

void ScriptedPrompts::QueueAnswer(Answer answer) {
    std::lock_guard lock(m_mutex);
    m_answers.push_back(answer);
}

void ScriptedPrompts::ShowMessage(std::u16string_view text, MessageKind kind) {
    std::lock_guard lock(m_mutex);
    ShownPrompt shown;
    shown.kind = kind;
    shown.text = std::u16string(text);
    m_shown.push_back(std::move(shown));
}

Answer ScriptedPrompts::AskYesNo(std::u16string_view text, Answer defaultAnswer) {
    std::lock_guard lock(m_mutex);
    ShownPrompt shown;
    shown.isQuestion = true;
    shown.text = std::u16string(text);
    shown.defaultAnswer = defaultAnswer;
    shown.answer = defaultAnswer;
    if (!m_answers.empty()) {
        shown.answer = m_answers.front();
        m_answers.pop_front();
    }
    m_shown.push_back(shown);
    return shown.answer;
}

void ScriptedPrompts::QueuePendingEditsAnswer(PendingEdits answer) {
    std::lock_guard lock(m_mutex);
    m_pendingEditsAnswers.push_back(answer);
}

PendingEdits ScriptedPrompts::AskAboutPendingEdits(std::u16string_view text) {
    std::lock_guard lock(m_mutex);
    ShownPrompt shown;
    shown.isQuestion = true;
    shown.text = std::u16string(text);
    m_shown.push_back(shown);
    PendingEdits answer = PendingEdits::Keep;
    if (!m_pendingEditsAnswers.empty()) {
        answer = m_pendingEditsAnswers.front();
        m_pendingEditsAnswers.pop_front();
    }
    return answer;
}

std::vector<ShownPrompt> ScriptedPrompts::Shown() const {
    std::lock_guard lock(m_mutex);
    return m_shown;
}

std::size_t ScriptedPrompts::UnusedAnswers() const {
    std::lock_guard lock(m_mutex);
    return m_answers.size() + m_pendingEditsAnswers.size();
}

}  // namespace korvel
