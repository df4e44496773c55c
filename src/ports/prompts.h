#pragma once

#include <string_view>

namespace korvel {

enum class MessageKind {
    Information,
    Warning,
    Error,
};

enum class Answer {
    Yes,
    No,
};

// What to do with edits that were not applied when the program is asked to end.
enum class PendingEdits {
    Apply,    // send them to the keyboard, then end
    Discard,  // end without them
    Keep,     // do not end
};

// Everything the core says to the user or asks the user goes through here, so that the window
// shows message boxes, the command-line tool writes to its terminal and tests answer in advance.
//
// Threads: may be called from any thread (the presence thread reports an unreadable default key
// table); an implementation that must run on one thread marshals the call and waits for it. Both
// calls return only when the user has seen the message or answered.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A message with an OK button.
    virtual void ShowMessage(std::u16string_view text, MessageKind kind) = 0;

    // A question with Yes and No buttons; `defaultAnswer` is the one that Enter gives and that a
    // user who cannot be asked is taken to give. Every question of the program defaults to No.
    virtual Answer AskYesNo(std::u16string_view text, Answer defaultAnswer = Answer::No) = 0;
    // A question with Apply, Discard and Cancel buttons about edits not yet applied; Enter gives
    // Apply, Escape Cancel. A user who cannot be asked keeps them: the program does not end.
    virtual PendingEdits AskAboutPendingEdits(std::u16string_view text) {
        (void)text;
        return PendingEdits::Keep;
    }
};

}  // namespace korvel
