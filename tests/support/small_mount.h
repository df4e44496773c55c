#pragma once

#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace korvel::fixtures {

// A tiny tmpfs of its own, for what a full or read-only disk does to a write. Only root may mount
// one; elsewhere Mounted() is false and the test skips itself.
class SmallMount {
public:
    SmallMount(const std::filesystem::path& where, std::size_t bytes) : m_path(where) {
        std::filesystem::create_directories(m_path);
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
        m_mounted =
            ::getuid() == 0 && ::mount("tmpfs", m_path.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallMount() {
        if (m_mounted) {
            ::umount2(m_path.c_str(), MNT_DETACH);
        }
    }
    SmallMount(const SmallMount&) = delete;
    SmallMount& operator=(const SmallMount&) = delete;

    bool Mounted() const { return m_mounted; }
    const std::filesystem::path& Path() const { return m_path; }

    // From now on nothing below the mount can be written.
    bool MakeReadOnly() {
        return m_mounted &&
               ::mount("tmpfs", m_path.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    std::filesystem::path m_path;
    bool m_mounted = false;
};

}  // namespace korvel::fixtures
