// A keyboard that is plugged in but whose hidraw node this user may not open is told apart from
// one that is not there: korvelctl names the node, the reason and the udev commands.
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "cli/korvelctl_run.h"
#include "device/hidapi/hidraw_access.h"
#include "support/temp_folder.h"

namespace korvel::cli::test {
namespace {

using fixtures::TempFolder;
using fixtures::WriteBytes;

// A stand-in system root with hidraw nodes: sys/class/hidraw/NAME/device/uevent and dev/NAME.
void AddNode(const TempFolder& root, const std::string& name, const std::string& hidId,
             bool readable) {
    const auto device = root / ("sys/class/hidraw/" + name + "/device");
    std::filesystem::create_directories(device);
    WriteBytes(device / "uevent", "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=Keyboard\n");
    std::filesystem::create_directories(root / "dev");
    WriteBytes(root / ("dev/" + name), "");
    ::chmod((root / ("dev/" + name)).c_str(), readable ? 0666 : 0000);
}

// Runs korvelctl in a child process against the stand-in root. Root may open any file, so the
// child gives up root first: the refusal is then the kernel's own, as a user meets it.
Outcome KorvelctlAsUser(const std::filesystem::path& systemRoot,
                        const std::vector<std::string>& args) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        return {-1, {}, "pipe failed"};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        ::setenv("KORVEL_SYSTEM_ROOT", systemRoot.c_str(), 1);
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(99);
        }
        const Outcome outcome = Korvelctl(args);
        const std::string report = std::to_string(outcome.status) + "\n" + outcome.err;
        const ssize_t written = ::write(pipeFds[1], report.data(), report.size());
        ::_exit(written == static_cast<ssize_t>(report.size()) ? 0 : 98);
    }
    ::close(pipeFds[1]);
    std::string report;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        report.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int wstatus = 0;
    ::waitpid(child, &wstatus, 0);
    if (!WIFEXITED(wstatus) || WEXITSTATUS(wstatus) != 0 ||
        report.find('\n') == std::string::npos) {
        return {-1, {}, "child failed: " + report};
    }
    const std::size_t line = report.find('\n');
    return {std::stoi(report.substr(0, line)), {}, report.substr(line + 1)};
}

TEST(KeyboardAccess, APresentKeyboardWhoseNodeIsRefusedGetsThePermissionMessage) {
    TempFolder root;
    AddNode(root, "hidraw0", "0003:0000046D:0000C52B", false);  // another device, also refused
    AddNode(root, "hidraw1", "0003:00000C45:00005304", true);   // ours, but opens
    AddNode(root, "hidraw2", "0003:00000C45:00005304", false);  // ours, refused

    const Outcome outcome = KorvelctlAsUser(root.Path(), {"info"});
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    const std::string node = (root.Path() / "dev/hidraw2").string();
    EXPECT_NE(outcome.err.find(node + " (vendor 0x0C45, product 0x5304): Permission denied"),
              std::string::npos)
        << outcome.err;
    EXPECT_EQ(outcome.err.find("hidraw0"), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.err.find("hidraw1"), std::string::npos) << outcome.err;
    for (const char* command :
         {"sudo install -m 644 ", "/udev/70-korvel.rules /etc/udev/rules.d/70-korvel.rules",
          "sudo udevadm control --reload-rules",
          "sudo udevadm trigger --subsystem-match=hidraw --action=add"}) {
        EXPECT_NE(outcome.err.find(command), std::string::npos) << command << "\n" << outcome.err;
    }
    EXPECT_EQ(outcome.err.find("no keyboard found"), std::string::npos);
}

TEST(KeyboardAccess, WithNothingRefusedTheAnswerStaysNoKeyboardFound) {
    TempFolder root;
    AddNode(root, "hidraw0", "0003:00000C45:00005004", true);
    const Outcome outcome = KorvelctlAsUser(root.Path(), {"info"});
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_NE(outcome.err.find("no keyboard found"), std::string::npos) << outcome.err;
    EXPECT_TRUE(FindBlockedKeyboardNodes(root.Path()).empty());
}

}  // namespace
}  // namespace korvel::cli::test
