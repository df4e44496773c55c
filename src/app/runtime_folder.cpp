#include "app/runtime_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace korvel {
namespace {

// FNV-1a: a short, stable name for a state file's path.
std::string PathDigest(const std::string& text) {
    std::uint64_t hash = 1469598103934665603ULL;
    for (const unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string digest(16, '0');
    for (int i = 15; i >= 0; --i) {
        digest[static_cast<std::size_t>(i)] = kDigits[hash & 0xF];
        hash >>= 4;
    }
    return digest;
}

// Makes `folder` (whose parent exists) a folder only this user may enter.
bool EnsurePrivateFolder(const std::filesystem::path& folder, std::string& error) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = folder.string() + " could not be created: " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        error = folder.string() + " could not be read: " + std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) {
        error = folder.string() + " is not a folder of this user's";
        return false;
    }
    if ((info.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) {
        error = folder.string() +
                " is open to other users and could not be closed: " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace

std::optional<std::filesystem::path> UserRuntimeFolder(const EnvironmentLookup& environment,
                                                       std::string& error) {
    std::filesystem::path folder;
    const char* runtime = environment("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        folder = std::filesystem::path(runtime) / "korvel";
    } else {
        folder = "/tmp/korvel-runtime-" + std::to_string(::getuid());
    }
    if (!EnsurePrivateFolder(folder, error)) {
        return std::nullopt;
    }
    return folder;
}

std::optional<std::filesystem::path> UserRuntimeFolder(std::string& error) {
    return UserRuntimeFolder([](const char* name) { return std::getenv(name); }, error);
}

std::optional<KeyboardMeetingPlace> MeetingPlaceOf(const SharedOptions& options,
                                                   const std::filesystem::path& runtimeFolder) {
    std::string name = "keyboard";
    if (options.simulate) {
        if (options.simulateState.empty()) {
            return std::nullopt;
        }
        std::error_code ignored;
        std::filesystem::path state = std::filesystem::absolute(options.simulateState, ignored);
        state = std::filesystem::weakly_canonical(state, ignored);
        name = "virtual-" + PathDigest(state.string());
    }
    return KeyboardMeetingPlace{runtimeFolder / (name + ".sock"), runtimeFolder / (name + ".lock")};
}

}  // namespace korvel
