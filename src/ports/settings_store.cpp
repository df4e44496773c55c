#include "ports/settings_store.h"

#include <algorithm>
#include <cstdio>

namespace korvel {

void MemorySettingsStore::WriteString(std::string_view section, std::string_view key,
                                      std::u16string_view value) {
    std::lock_guard lock(m_mutex);
    m_values[{std::string(section), std::string(key)}] = std::u16string(value);
}

std::optional<std::u16string> MemorySettingsStore::ReadString(std::string_view section,
                                                              std::string_view key) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_values.find({std::string(section), std::string(key)});
    if (found == m_values.end()) {
        return std::nullopt;
    }
    return found->second;
}

void MemorySettingsStore::Remove(std::string_view section, std::string_view key) {
    std::lock_guard lock(m_mutex);
    m_values.erase({std::string(section), std::string(key)});
}

std::string ProfileListKey(int number) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s%02d", "PROFILE", number);
    return buffer;
}

namespace {

// The number of rows PROFILE00 holds: its leading decimal digits, 0 when there are none.
int StoredRowCount(const SettingsStore& settings) {
    int count = 0;
    if (const auto text = settings.ReadString(kProfilesSection, ProfileListKey(0))) {
        for (const char16_t c : *text) {
            if (c < u'0' || c > u'9' || count > 100000) {
                break;
            }
            count = count * 10 + (c - u'0');
        }
    }
    return count;
}

constexpr int kMostStoredRows = 1000;

}  // namespace

std::vector<std::filesystem::path> ReadProfileList(const SettingsStore& settings) {
    std::vector<std::filesystem::path> files;
    const int rows = std::min(StoredRowCount(settings), kMostStoredRows);
    for (int row = 1; row <= rows; ++row) {
        const auto file = settings.ReadString(kProfilesSection, ProfileListKey(row));
        if (file && !file->empty()) {
            files.emplace_back(*file);
        }
    }
    return files;
}

void WriteProfileList(SettingsStore& settings, std::span<const std::filesystem::path> files) {
    const int previous = StoredRowCount(settings);
    const std::string rows = std::to_string(files.size());
    settings.WriteString(kProfilesSection, ProfileListKey(0),
                         std::u16string(rows.begin(), rows.end()));
    for (std::size_t i = 0; i < files.size(); ++i) {
        settings.WriteString(kProfilesSection, ProfileListKey(static_cast<int>(i) + 1),
                             files[i].u16string());
    }
    for (int row = static_cast<int>(files.size()) + 1; row <= previous; ++row) {
        settings.Remove(kProfilesSection, ProfileListKey(row));
    }
}

}  // namespace korvel
