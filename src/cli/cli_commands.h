#pragma once

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/documents_folder.h"
#include "cli/cli_options.h"

namespace korvel::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

class KeyboardSession;
struct CommandHost;

// What a command works with: its arguments, the output streams, and the keyboard, opened only
// when the command needs it (so that a usage error never touches the keyboard).
class CommandContext {
public:
    // `host`: the command was handed over; it runs on the host's keyboard, its paths relative to
    // where it was sent from.
    CommandContext(const CommandLine& line, std::ostream& out, std::ostream& err,
                   const CommandHost* host = nullptr);
    ~CommandContext();

    const CommandArguments& Arguments() const { return m_line.arguments; }
    std::ostream& Out() { return m_out; }
    std::ostream& Err() { return m_err; }

    // The opened keyboard, or null after a message on the error stream.
    KeyboardSession* Keyboard();
    // The keyboard when one answers; null without a message when none does.
    KeyboardSession* KeyboardIfPresent();

    // A path of the command line as the files it names are opened.
    std::filesystem::path PathOf(const std::string& given) const;

    const GlobalOptions& Options() const { return m_line.options; }
    // The program the command was handed over to; none: it runs here.
    const CommandHost* Host() const { return m_host; }

    // The folder that stands for the user's Documents folder (FindDocumentsFolder): --documents,
    // else the desktop's own; with the reason when there is none to use.
    DocumentsFolder Documents() const;

    // Prints "korvelctl: <message>" on the error stream and returns the status.
    int Fail(int status, const std::string& message);
    // Fail with status 2 for a command whose 1 means something else than failing (diff): trouble,
    // not a usage error, so no help is offered. An empty message: it has been said already.
    int Trouble(const std::string& message);
    bool Troubled() const { return m_troubled; }

    // Ends the command: saves the virtual keyboard's state; a failed save fails the command.
    int Finish(int status);

private:
    const CommandLine& m_line;
    std::ostream& m_out;
    std::ostream& m_err;
    const CommandHost* m_host;
    std::unique_ptr<KeyboardSession> m_keyboard;
    bool m_troubled = false;
};

int RunInfo(CommandContext& context);
int RunProfile(CommandContext& context);
int RunMonitorCommand(CommandContext& context);
int RunPress(CommandContext& context);

}  // namespace korvel::cli
