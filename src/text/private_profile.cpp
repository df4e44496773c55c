#include "text/private_profile.h"

#include <climits>

namespace korvel {

PrivateProfile PrivateProfile::Load(const std::filesystem::path& file) {
    FileBytes read = ReadFileBytes(file, kMaxProfileFileBytes);
    PrivateProfile profile;
    profile.m_status = read.status;
    if (read.status == FileReadStatus::Ok) {
        profile.m_document = IniDocument::FromBytes(read.bytes);
    }
    return profile;
}

std::u16string PrivateProfile::GetString(std::u16string_view section, std::u16string_view key,
                                         std::u16string_view defaultValue,
                                         std::size_t bufferSize) const {
    const std::size_t room = bufferSize == 0 ? 0 : bufferSize - 1;
    if (const auto value = m_document.Find(section, key)) {
        return std::u16string(CutToUnits(*value, room));
    }
    while (!defaultValue.empty() && defaultValue.back() == u' ') {
        defaultValue.remove_suffix(1);
    }
    return std::u16string(CutToUnits(defaultValue, room));
}

int PrivateProfile::GetInt(std::u16string_view section, std::u16string_view key,
                           int defaultValue) const {
    const auto value = m_document.Find(section, key);
    return value ? LeadingInteger(*value) : defaultValue;
}

bool PrivateProfile::SetString(std::u16string_view section, std::u16string_view key,
                               std::u16string_view value) {
    return m_document.Set(section, key, value);
}

bool PrivateProfile::Save(const std::filesystem::path& file) const {
    return static_cast<bool>(ReplaceFile(file, m_document.ToBytes()));
}

int LeadingInteger(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (magnitude <= static_cast<long long>(INT_MAX) + 1) {
            magnitude = magnitude * 10 + (text[i] - u'0');
        }
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

std::u16string ReadProfileString(const std::filesystem::path& file, std::u16string_view section,
                                 std::u16string_view key, std::u16string_view defaultValue,
                                 std::size_t bufferSize) {
    return PrivateProfile::Load(file).GetString(section, key, defaultValue, bufferSize);
}

bool WriteProfileString(const std::filesystem::path& file, std::u16string_view section,
                        std::u16string_view key, std::u16string_view value) {
    PrivateProfile profile = PrivateProfile::Load(file);
    if (profile.Status() != FileReadStatus::Ok && profile.Status() != FileReadStatus::Missing) {
        return false;
    }
    return profile.SetString(section, key, value) && profile.Save(file);
}

}  // namespace korvel
