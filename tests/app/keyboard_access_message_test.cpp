// The permission message counts only the keyboard nodes the programs open. The udev rule keeps
// the boot keyboard interface from the user on purpose, so its refused node is no problem to
// report; a node whose descriptor cannot be read still counts.
#include "app/keyboard_access_message.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "device/hidapi/hidraw_access.h"
#include "device/sim/simulated_backend.h"
#include "support/temp_folder.h"

namespace korvel {
namespace {

using fixtures::TempFolder;
using fixtures::WriteBytes;

// A stand-in system root's hidraw node of the keyboard that refuses everyone, with the report
// descriptor sysfs shows beside it (none when `descriptor` is null).
void AddRefusedNode(const TempFolder& root, const std::string& name,
                    const std::string* descriptor) {
    const auto device = root / ("sys/class/hidraw/" + name + "/device");
    std::filesystem::create_directories(device);
    WriteBytes(device / "uevent", "DRIVER=hid-generic\nHID_ID=0003:00000C45:00005304\n");
    if (descriptor != nullptr) {
        WriteBytes(device / "report_descriptor", *descriptor);
    }
    std::filesystem::create_directories(root / "dev");
    WriteBytes(root / ("dev/" + name), "");
    ::chmod((root / ("dev/" + name)).c_str(), 0000);
}

std::string Bytes(std::span<const std::uint8_t> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// The message the programs would show for the stand-in root, found as a user finds it: root may
// open any file, so a child process gives up root first and the refusal is the kernel's own.
std::string MessageAsUser(const std::filesystem::path& systemRoot) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        return "pipe failed";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(99);
        }
        const std::string message =
            KeyboardAccessMessage(FindBlockedKeyboardNodes(systemRoot), "/rules/70-korvel.rules");
        const ssize_t written = ::write(pipeFds[1], message.data(), message.size());
        ::_exit(written == static_cast<ssize_t>(message.size()) ? 0 : 98);
    }
    ::close(pipeFds[1]);
    std::string message;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        message.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return "child failed";
    }
    return message;
}

TEST(KeyboardAccessMessage, NamesTheRefusedNodesTheProgramsOpenAndNotTheBootKeyboard) {
    TempFolder root;
    const std::string boot = Bytes(sim::BootKeyboardDescriptor());
    const std::string consumer = Bytes(sim::ConsumerControlDescriptor());
    const std::string command = Bytes(sim::CommandDescriptor());
    const std::string damaged = "\x05\x0C\x09";  // cut short inside an item
    AddRefusedNode(root, "hidraw0", &boot);
    AddRefusedNode(root, "hidraw1", &consumer);
    AddRefusedNode(root, "hidraw2", &command);
    AddRefusedNode(root, "hidraw3", nullptr);   // nothing says what it is: counts
    AddRefusedNode(root, "hidraw4", &damaged);  // nor here

    const std::string message = MessageAsUser(root.Path());
    for (const char* node : {"hidraw1", "hidraw2", "hidraw3", "hidraw4"}) {
        EXPECT_NE(message.find((root.Path() / "dev" / node).string() +
                               " (vendor 0x0C45, product 0x5304): Permission denied"),
                  std::string::npos)
            << node << "\n"
            << message;
    }
    EXPECT_EQ(message.find("hidraw0"), std::string::npos) << message;
    for (const char* words :
         {"only the keyboard's event and command interfaces",
          "sudo install -m 644 /rules/70-korvel.rules /etc/udev/rules.d/70-korvel.rules"}) {
        EXPECT_NE(message.find(words), std::string::npos) << words << "\n" << message;
    }

    // Only the boot keyboard refused: nothing to tell, the rule works as meant.
    TempFolder installed;
    AddRefusedNode(installed, "hidraw0", &boot);
    EXPECT_EQ(MessageAsUser(installed.Path()), "");
}

}  // namespace
}  // namespace korvel
