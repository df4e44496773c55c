#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace korvel {

// A command of korvelctl as it is handed to the program that owns the keyboard: its arguments
// and what they are relative to (the folder it was started in and the environment variables that
// name the user's folders), so that it runs there as it would have run on its own.
struct ForwardedCommand {
    std::vector<std::string> args;
    std::string workingFolder;
    std::vector<std::pair<std::string, std::string>> environment;
};

// What the command printed and its exit status, to be passed on unchanged.
struct CommandReply {
    std::string out;
    std::string err;
    int status = 0;
};

// Listens on a local socket for forwarded commands and answers each with what `handler` returns.
// Only processes of this user are answered (the peer's credentials are checked on every
// connection). Commands are taken one at a time, in the order they arrive; a client that stops
// sending is dropped after a few seconds.
//
// Threads: `handler` runs on the server's own thread; the destructor stops and joins it.
class CommandServer {
public:
    using Handler = std::function<CommandReply(const ForwardedCommand&)>;

    // Null with `error` set when the socket cannot be made, or another program answers on it.
    // A socket left behind by a program that ended is replaced.
    static std::unique_ptr<CommandServer> Listen(const std::filesystem::path& socket,
                                                 Handler handler, std::string& error);
    ~CommandServer();
    CommandServer(const CommandServer&) = delete;
    CommandServer& operator=(const CommandServer&) = delete;

private:
    struct Parts;
    explicit CommandServer(std::unique_ptr<Parts> parts);
    std::unique_ptr<Parts> m_parts;
};

enum class ForwardOutcome {
    Answered,  // the reply holds what the command printed
    NoServer,  // nobody listens there: the caller runs the command itself
    Broken,    // the server took the command but no complete answer came (`error` says why)
};

// Hands `command` to the server on `socket` and waits for its reply.
ForwardOutcome ForwardCommand(const std::filesystem::path& socket, const ForwardedCommand& command,
                              CommandReply& reply, std::string& error);

}  // namespace korvel
