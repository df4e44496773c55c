#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/documents_folder.h"
#include "app/shared_options.h"

namespace korvel {

// The folder for this user's sockets and locks: $XDG_RUNTIME_DIR/korvel, else (no runtime folder
// set, as in a bare session) /tmp/korvel-runtime-UID. Created with mode 0700 where missing; refused
// with a reason when it is not a folder of this user's that only this user may enter, since what
// lies there decides who may talk to the keyboard.
std::optional<std::filesystem::path> UserRuntimeFolder(const EnvironmentLookup& environment,
                                                       std::string& error);
std::optional<std::filesystem::path> UserRuntimeFolder(std::string& error);

// Where the programs that share one keyboard meet: the socket of the window that owns it, and the
// lock every transaction with it holds.
struct KeyboardMeetingPlace {
    std::filesystem::path socket;
    std::filesystem::path lock;
};

// The meeting place of the keyboard `options` name, in `runtimeFolder`: one for the real
// keyboard, one per state file of the virtual keyboard (by its canonical path, so that every way
// of naming the file meets in one place). None for a virtual keyboard without a state file: no
// other program can reach it.
std::optional<KeyboardMeetingPlace> MeetingPlaceOf(const SharedOptions& options,
                                                   const std::filesystem::path& runtimeFolder);

}  // namespace korvel
