#pragma once

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The application's per-user settings (the registry key or settings file of the platform), by
// section and key. The window backs it with the platform's settings; tests and korvelctl keep it
// in memory.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual void WriteString(std::string_view section, std::string_view key,
                             std::u16string_view value) = 0;
    virtual std::optional<std::u16string> ReadString(std::string_view section,
                                                     std::string_view key) const = 0;
    virtual void Remove(std::string_view section, std::string_view key) = 0;
};

class MemorySettingsStore : public SettingsStore {
public:
    void WriteString(std::string_view section, std::string_view key,
                     std::u16string_view value) override;
    std::optional<std::u16string> ReadString(std::string_view section,
                                             std::string_view key) const override;
    void Remove(std::string_view section, std::string_view key) override;

private:
    mutable std::mutex m_mutex;
    std::map<std::pair<std::string, std::string>, std::u16string> m_values;
};

inline constexpr std::string_view kProfilesSection = "PROFILES";

// "PROFILE%02d": row 0 holds the count, rows 1.. the files.
std::string ProfileListKey(int number);

// Writes the profile manager's list: PROFILE00 the number of rows in decimal, PROFILE01, ... the
// full path of each row's file. Rows of a longer earlier list are removed.
void WriteProfileList(SettingsStore& settings, std::span<const std::filesystem::path> files);
// The list WriteProfileList wrote: as many rows as PROFILE00 says (at most 1000), a row that is
// missing or empty skipped.
std::vector<std::filesystem::path> ReadProfileList(const SettingsStore& settings);

}  // namespace korvel
