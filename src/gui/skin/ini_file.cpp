#include "gui/skin/ini_file.h"

#include "text/private_profile.h"

namespace korvel {
namespace {

constexpr std::size_t kValueBuffer = 2048;

std::filesystem::path FsPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

}  // namespace

void CIniFile::SetPath(const QString& path) {
    m_path = path;
    m_profile = PrivateProfile::Load(FsPath(path));
}

std::optional<QString> CIniFile::GetString(const QString& section, const QString& key,
                                           const QString& defaultValue) const {
    const std::u16string value = m_profile.GetString(section.toStdU16String(), key.toStdU16String(),
                                                     defaultValue.toStdU16String(), kValueBuffer);
    if (value.empty()) {
        return std::nullopt;
    }
    return QString::fromStdU16String(value);
}

QString CIniFile::Read(const QString& section, const QString& key,
                       const QString& defaultValue) const {
    return GetString(section, key, defaultValue).value_or(QString());
}

bool CIniFile::WriteString(const QString& section, const QString& key, const QString& text) {
    if (!m_profile.SetString(section.toStdU16String(), key.toStdU16String(),
                             text.toStdU16String())) {
        return false;
    }
    return m_profile.Save(FsPath(m_path));
}

}  // namespace korvel
