#pragma once

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "ports/prompts.h"

namespace korvel {

// A message a job had for the user, shown once the job has ended.
struct CollectedMessage {
    std::u16string text;
    MessageKind kind = MessageKind::Information;
};

// The prompts of a job on the keyboard service: a job never waits for the user, so what it says
// is kept and handed back with its result, and a question gets its default answer (every
// question of the program defaults to No, the answer that changes nothing).
//
// Threads: any; the messages are guarded.
class CollectedPrompts final : public Prompts {
public:
    void ShowMessage(std::u16string_view text, MessageKind kind) override {
        std::lock_guard lock(m_mutex);
        m_messages.push_back({std::u16string(text), kind});
    }
    Answer AskYesNo(std::u16string_view, Answer defaultAnswer) override { return defaultAnswer; }
    std::vector<CollectedMessage> Take() {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_messages, {});
    }

private:
    std::mutex m_mutex;
    std::vector<CollectedMessage> m_messages;
};

}  // namespace korvel
