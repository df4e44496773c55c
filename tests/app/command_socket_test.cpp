#include "app/command_socket.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "support/temp_folder.h"

namespace korvel {
namespace {

// Answers with what it was sent, so that a test sees every byte arrive as it left.
CommandReply Echo(const ForwardedCommand& command) {
    CommandReply reply;
    for (const std::string& arg : command.args) {
        reply.out += arg + '|';
    }
    reply.err = command.workingFolder;
    for (const auto& [name, value] : command.environment) {
        reply.err += ';' + name + '=' + value;
    }
    reply.status = static_cast<int>(command.args.size());
    return reply;
}

TEST(CommandSocket, CommandsAndRepliesArriveByteForByte) {
    fixtures::TempFolder folder;
    std::string error;
    auto server = CommandServer::Listen(folder / "k.sock", Echo, error);
    ASSERT_NE(server, nullptr) << error;

    ForwardedCommand command;
    command.args = {"import", std::string("f\0\xff\n.kvp", 8), "", std::string(1 << 20, 'x')};
    command.workingFolder = "/home/someone/dir with spaces";
    command.environment = {{"HOME", "/home/someone"}, {"XDG_DOCUMENTS_DIR", ""}};
    CommandReply reply;
    ASSERT_EQ(ForwardCommand(folder / "k.sock", command, reply, error), ForwardOutcome::Answered)
        << error;
    EXPECT_EQ(reply.out, "import|" + command.args[1] + "||" + command.args[3] + '|');
    EXPECT_EQ(reply.err, "/home/someone/dir with spaces;HOME=/home/someone;XDG_DOCUMENTS_DIR=");
    EXPECT_EQ(reply.status, 4);
}

TEST(CommandSocket, NobodyListeningMeansRunItHereAndALeftoverSocketIsReplaced) {
    fixtures::TempFolder folder;
    const auto socket = folder / "k.sock";
    std::string error;
    CommandReply reply;
    EXPECT_EQ(ForwardCommand(socket, {}, reply, error), ForwardOutcome::NoServer);

    // A socket file whose program ended without removing it.
    const int leftover = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, socket.c_str());
    ASSERT_EQ(::bind(leftover, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(leftover);
    EXPECT_EQ(ForwardCommand(socket, {}, reply, error), ForwardOutcome::NoServer);

    auto server = CommandServer::Listen(socket, Echo, error);
    ASSERT_NE(server, nullptr) << error;
    EXPECT_EQ(CommandServer::Listen(socket, Echo, error), nullptr) << "one server per socket";
    EXPECT_NE(error.find("another program answers"), std::string::npos) << error;
    EXPECT_EQ(ForwardCommand(socket, {}, reply, error), ForwardOutcome::Answered);

    server.reset();
    EXPECT_FALSE(std::filesystem::exists(socket)) << "removed when the server ends";
    EXPECT_EQ(ForwardCommand(socket, {}, reply, error), ForwardOutcome::NoServer);
}

TEST(CommandSocket, ManyClientsAtOnceAreAnsweredOneAtATime) {
    fixtures::TempFolder folder;
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    std::string error;
    auto server = CommandServer::Listen(
        folder / "k.sock",
        [&](const ForwardedCommand& command) {
            overlapped = overlapped || running.fetch_add(1) != 0;
            std::this_thread::yield();
            running.fetch_sub(1);
            return Echo(command);
        },
        error);
    ASSERT_NE(server, nullptr) << error;
    constexpr int kClients = 20;
    std::vector<CommandReply> replies(kClients);
    std::vector<ForwardOutcome> outcomes(kClients, ForwardOutcome::NoServer);
    std::vector<std::thread> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.emplace_back([&, i] {
            std::string ignored;
            ForwardedCommand command;
            command.args = {"backup", "f" + std::to_string(i)};
            outcomes[i] = ForwardCommand(folder / "k.sock", command, replies[i], ignored);
        });
    }
    for (std::thread& client : clients) {
        client.join();
    }
    for (int i = 0; i < kClients; ++i) {
        ASSERT_EQ(outcomes[i], ForwardOutcome::Answered) << i;
        EXPECT_EQ(replies[i].out, "backup|f" + std::to_string(i) + '|');
    }
    EXPECT_FALSE(overlapped);
}

TEST(CommandSocket, AServerThatEndsMidCommandIsReportedNotTakenForNoServer) {
    fixtures::TempFolder folder;
    // Accepts, reads, and closes without answering.
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, (folder / "k.sock").c_str());
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    std::thread closer([listener] {
        const int client = ::accept(listener, nullptr, nullptr);
        char buffer[64];
        [[maybe_unused]] const ssize_t read = ::recv(client, buffer, sizeof(buffer), 0);
        ::close(client);
    });
    std::string error;
    CommandReply reply;
    ForwardedCommand command;
    command.args = {"import", "f.kvp"};
    EXPECT_EQ(ForwardCommand(folder / "k.sock", command, reply, error), ForwardOutcome::Broken);
    EXPECT_FALSE(error.empty());
    closer.join();
    ::close(listener);
}

}  // namespace
}  // namespace korvel
