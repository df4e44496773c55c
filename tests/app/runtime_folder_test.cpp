#include "app/runtime_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>

#include "support/temp_folder.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;

EnvironmentLookup RuntimeAt(const std::string& folder) {
    return [folder](const char* name) -> const char* {
        return std::string(name) == "XDG_RUNTIME_DIR" ? folder.c_str() : nullptr;
    };
}

mode_t ModeOf(const fs::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

TEST(RuntimeFolder, OnlyThisUserMayEnterIt) {
    fixtures::TempFolder runtime;
    std::string error;
    const auto folder = UserRuntimeFolder(RuntimeAt(runtime.Path().string()), error);
    ASSERT_TRUE(folder) << error;
    EXPECT_EQ(*folder, runtime / "korvel");
    EXPECT_EQ(ModeOf(*folder), 0700u);

    // Opened to others since: closed again.
    ::chmod(folder->c_str(), 0755);
    ASSERT_TRUE(UserRuntimeFolder(RuntimeAt(runtime.Path().string()), error)) << error;
    EXPECT_EQ(ModeOf(*folder), 0700u);

    // Not a folder at all: refused with a reason.
    fs::remove(*folder);
    fixtures::WriteBytes(*folder, "x");
    EXPECT_FALSE(UserRuntimeFolder(RuntimeAt(runtime.Path().string()), error));
    EXPECT_NE(error.find("not a folder"), std::string::npos) << error;
}

TEST(RuntimeFolder, OneMeetingPlacePerKeyboard) {
    fixtures::TempFolder states;
    const fs::path runtime = "/run/user/1000/korvel";
    const auto place = [&](bool simulate, const std::string& state) {
        SharedOptions options;
        options.simulate = simulate;
        options.simulateState = state;
        return MeetingPlaceOf(options, runtime);
    };
    const auto real = place(false, "");
    ASSERT_TRUE(real);
    EXPECT_EQ(real->socket, runtime / "keyboard.sock");
    EXPECT_EQ(real->lock, runtime / "keyboard.lock");
    EXPECT_FALSE(place(true, "")) << "a virtual keyboard of its own: nobody else can reach it";

    fs::create_directories(states / "a");
    const auto named = place(true, (states / "a" / "s.bin").string());
    const auto otherWay = place(true, (states / "a" / ".." / "a" / "s.bin").string());
    const auto other = place(true, (states / "b.bin").string());
    ASSERT_TRUE(named && otherWay && other);
    EXPECT_EQ(named->socket, otherWay->socket);
    EXPECT_NE(named->socket, other->socket);
    EXPECT_NE(named->socket, real->socket);
    EXPECT_EQ(named->socket.parent_path(), runtime);
}

}  // namespace
}  // namespace korvel
