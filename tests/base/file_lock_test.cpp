#include "base/file_lock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "support/temp_folder.h"

namespace korvel {
namespace {

using fixtures::ReadBytes;
using fixtures::TempFolder;
using fixtures::WriteBytes;

// A process that waits names the holder from the lock file: the holder's line alone, at every
// moment of a handover (the new name is written over the old one before the rest is cut off).
TEST(FileLockTest, TheHolderIsNamedFromItsOwnLineAlone) {
    TempFolder folder;
    const auto file = folder / "keyboard.lock";
    std::string error;
    {
        auto first = FileLock::Acquire(file, "a holder with a long name", {}, error);
        ASSERT_NE(first, nullptr) << error;
    }
    auto second = FileLock::Acquire(file, "korvel", {}, error);
    ASSERT_NE(second, nullptr) << error;
    EXPECT_EQ(ReadBytes(file), "korvel\n") << "the earlier, longer name is cut off";

    // Read halfway through a handover: the new line, then the end of the earlier one.
    WriteBytes(file, "korvel\nlong name\n");
    EXPECT_EQ(FileLock::Acquire(file, "korvelctl", std::chrono::milliseconds(0), error), nullptr);
    EXPECT_NE(error.find("is held by korvel;"), std::string::npos) << error;
    EXPECT_EQ(error.find("long name"), std::string::npos) << error;
}

}  // namespace
}  // namespace korvel
