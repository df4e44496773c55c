#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace korvel::fixtures {

// A fresh folder below the system's temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() {
        std::mt19937_64 random(static_cast<std::uint64_t>(
                                   std::chrono::steady_clock::now().time_since_epoch().count()) ^
                               reinterpret_cast<std::uintptr_t>(this));
        do {
            m_path = std::filesystem::temp_directory_path() /
                     ("korvel-shell-test-" + std::to_string(random()));
        } while (std::filesystem::exists(m_path));
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

inline void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace korvel::fixtures
