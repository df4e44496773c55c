#include "cli/console_prompts.h"

#include <algorithm>
#include <string>

#include "base/text_encoding.h"

namespace korvel {

namespace {

// A reply that is neither yes nor no asks again, but not for ever: a script feeding nonsense must
// still come to an end.
constexpr int kAttempts = 3;

std::string_view PrefixOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return "warning: ";
        case MessageKind::Error:
            return "error: ";
        case MessageKind::Information:
            break;
    }
    return {};
}

std::string Normalised(std::string reply) {
    const auto notBlank = [](unsigned char c) { return c != ' ' && c != '\t' && c != '\r'; };
    reply.erase(reply.begin(), std::find_if(reply.begin(), reply.end(), notBlank));
    reply.erase(std::find_if(reply.rbegin(), reply.rend(), notBlank).base(), reply.end());
    std::transform(reply.begin(), reply.end(), reply.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    });
    return reply;
}

std::string_view NameOf(Answer answer) {
    return answer == Answer::Yes ? "yes" : "no";
}

}  // namespace

ConsolePrompts::ConsolePrompts(std::ostream& output, std::istream* answers)
    : m_output(output), m_answers(answers) {}

void ConsolePrompts::ShowMessage(std::u16string_view text, MessageKind kind) {
    std::lock_guard lock(m_mutex);
    m_output << PrefixOf(kind) << EscapeControls(Utf16ToUtf8(text), true) << '\n' << std::flush;
}

Answer ConsolePrompts::AskYesNo(std::u16string_view text, Answer defaultAnswer) {
    std::lock_guard lock(m_mutex);
    const std::string_view choices = defaultAnswer == Answer::Yes ? " [Y/n] " : " [y/N] ";
    const std::string question = EscapeControls(Utf16ToUtf8(text), true);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        m_output << question << choices << std::flush;
        std::string reply;
        if (m_answers == nullptr || !std::getline(*m_answers, reply)) {
            m_output << "\n(no answer given: " << NameOf(defaultAnswer) << ")\n" << std::flush;
            return defaultAnswer;
        }
        reply = Normalised(std::move(reply));
        if (reply.empty()) {
            return defaultAnswer;
        }
        if (reply == "y" || reply == "yes") {
            return Answer::Yes;
        }
        if (reply == "n" || reply == "no") {
            return Answer::No;
        }
        m_output << "Please answer yes or no.\n";
    }
    m_output << "(no clear answer: " << NameOf(defaultAnswer) << ")\n" << std::flush;
    return defaultAnswer;
}

}  // namespace korvel
