#include "app/command_socket.h"

#include "base/socket_io.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <thread>

namespace korvel {
namespace {

// A message on the socket: its length (4 bytes, most significant first), then its fields, each a
// length and its bytes; numbers are 4 bytes. Nothing is text-encoded: arguments and output are
// passed on byte for byte.
constexpr std::uint32_t kMaxMessage = 64u << 20;
constexpr int kClientPatienceMs = 5000;

void PutNumber(std::string& to, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        to.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

void PutText(std::string& to, const std::string& text) {
    PutNumber(to, static_cast<std::uint32_t>(text.size()));
    to += text;
}

class Reader {
public:
    explicit Reader(const std::string& from) : m_from(from) {}
    bool Number(std::uint32_t& value) {
        if (m_from.size() - m_at < 4) {
            return false;
        }
        value = 0;
        for (int i = 0; i < 4; ++i) {
            value = (value << 8) | static_cast<unsigned char>(m_from[m_at++]);
        }
        return true;
    }
    bool Text(std::string& text) {
        std::uint32_t size = 0;
        if (!Number(size) || m_from.size() - m_at < size) {
            return false;
        }
        text.assign(m_from, m_at, size);
        m_at += size;
        return true;
    }
    bool AtEnd() const { return m_at == m_from.size(); }

private:
    const std::string& m_from;
    std::size_t m_at = 0;
};

std::string EncodeCommand(const ForwardedCommand& command) {
    std::string bytes;
    PutNumber(bytes, static_cast<std::uint32_t>(command.args.size()));
    for (const std::string& arg : command.args) {
        PutText(bytes, arg);
    }
    PutText(bytes, command.workingFolder);
    PutNumber(bytes, static_cast<std::uint32_t>(command.environment.size()));
    for (const auto& [name, value] : command.environment) {
        PutText(bytes, name);
        PutText(bytes, value);
    }
    return bytes;
}

bool DecodeCommand(const std::string& bytes, ForwardedCommand& command) {
    Reader reader(bytes);
    std::uint32_t count = 0;
    if (!reader.Number(count)) {
        return false;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!reader.Text(command.args.emplace_back())) {
            return false;
        }
    }
    if (!reader.Text(command.workingFolder) || !reader.Number(count)) {
        return false;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        auto& [name, value] = command.environment.emplace_back();
        if (!reader.Text(name) || !reader.Text(value)) {
            return false;
        }
    }
    return reader.AtEnd();
}

std::string EncodeReply(const CommandReply& reply) {
    std::string bytes;
    PutText(bytes, reply.out);
    PutText(bytes, reply.err);
    PutNumber(bytes, static_cast<std::uint32_t>(reply.status));
    return bytes;
}

bool DecodeReply(const std::string& bytes, CommandReply& reply) {
    Reader reader(bytes);
    std::uint32_t status = 0;
    if (!reader.Text(reply.out) || !reader.Text(reply.err) || !reader.Number(status)) {
        return false;
    }
    reply.status = static_cast<int>(status);
    return reader.AtEnd();
}

bool SendMessage(int fd, const std::string& payload) {
    std::string framed;
    PutNumber(framed, static_cast<std::uint32_t>(payload.size()));
    framed += payload;
    return SendAll(fd, framed.data(), framed.size());
}

bool ReceiveMessage(int fd, std::string& payload) {
    char header[4];
    if (!ReceiveAll(fd, header, 4)) {
        return false;
    }
    std::uint32_t size = 0;
    for (const char c : header) {
        size = (size << 8) | static_cast<unsigned char>(c);
    }
    if (size > kMaxMessage) {
        return false;
    }
    payload.resize(size);
    return ReceiveAll(fd, payload.data(), size);
}

// The socket's address; false when the path does not fit.
bool AddressOf(const std::filesystem::path& socket, sockaddr_un& address, std::string& error) {
    address = {};
    address.sun_family = AF_UNIX;
    const std::string path = socket.string();
    if (path.size() >= sizeof(address.sun_path)) {
        error = "the socket path " + path + " is too long";
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

// Connects to `socket`; -1 with errno set when nobody listens there.
int Connect(const sockaddr_un& address) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

bool SameUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof(peer);
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

}  // namespace

struct CommandServer::Parts {
    Handler handler;
    std::filesystem::path socket;
    int listener = -1;
    int wake[2] = {-1, -1};  // written to on stop
    std::thread thread;

    void Serve() {
        for (;;) {
            pollfd watched[2] = {{listener, POLLIN, 0}, {wake[0], POLLIN, 0}};
            if (::poll(watched, 2, -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return;
            }
            if (watched[1].revents != 0) {
                return;
            }
            const Descriptor client(::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC));
            if (client.Get() < 0 || !SameUser(client.Get())) {
                continue;
            }
            timeval patience{kClientPatienceMs / 1000, 0};
            ::setsockopt(client.Get(), SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof(patience));
            std::string payload;
            ForwardedCommand command;
            if (!ReceiveMessage(client.Get(), payload) || !DecodeCommand(payload, command)) {
                continue;
            }
            SendMessage(client.Get(), EncodeReply(handler(command)));
        }
    }
};

std::unique_ptr<CommandServer> CommandServer::Listen(const std::filesystem::path& socket,
                                                     Handler handler, std::string& error) {
    sockaddr_un address{};
    if (!AddressOf(socket, address, error)) {
        return nullptr;
    }
    if (const int other = Connect(address); other >= 0) {
        ::close(other);
        error = "another program answers on " + socket.string();
        return nullptr;
    }
    // Nobody answers: what lies there is left from a program that ended.
    ::unlink(socket.c_str());
    auto parts = std::make_unique<Parts>();
    parts->handler = std::move(handler);
    parts->socket = socket;
    parts->listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (parts->listener < 0 ||
        ::bind(parts->listener, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) !=
            0 ||
        ::listen(parts->listener, 64) != 0 || ::pipe2(parts->wake, O_CLOEXEC) != 0) {
        error = socket.string() + " could not be opened: " + std::strerror(errno);
        if (parts->listener >= 0) {
            ::close(parts->listener);
        }
        return nullptr;
    }
    Parts* serving = parts.get();
    parts->thread = std::thread([serving] { serving->Serve(); });
    return std::unique_ptr<CommandServer>(new CommandServer(std::move(parts)));
}

CommandServer::CommandServer(std::unique_ptr<Parts> parts) : m_parts(std::move(parts)) {}

CommandServer::~CommandServer() {
    const char stop = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_parts->wake[1], &stop, 1);
    m_parts->thread.join();
    ::unlink(m_parts->socket.c_str());
    ::close(m_parts->listener);
    ::close(m_parts->wake[0]);
    ::close(m_parts->wake[1]);
}

ForwardOutcome ForwardCommand(const std::filesystem::path& socket, const ForwardedCommand& command,
                              CommandReply& reply, std::string& error) {
    sockaddr_un address{};
    if (!AddressOf(socket, address, error)) {
        return ForwardOutcome::NoServer;
    }
    const Descriptor server(Connect(address));
    if (server.Get() < 0) {
        return ForwardOutcome::NoServer;
    }
    std::string payload;
    if (!SendMessage(server.Get(), EncodeCommand(command)) ||
        !ReceiveMessage(server.Get(), payload) || !DecodeReply(payload, reply)) {
        error = "korvel took the command but ended before it answered";
        return ForwardOutcome::Broken;
    }
    return ForwardOutcome::Answered;
}

}  // namespace korvel
