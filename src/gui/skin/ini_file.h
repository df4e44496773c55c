#pragma once

#include <QString>
#include <filesystem>
#include <optional>

#include "text/private_profile.h"

namespace korvel {

// One skin INI file, read with the private-profile rules. The file is parsed once and kept, since
// a dialog reads hundreds of its keys while it lays itself out.
class CIniFile {
public:
    CIniFile() = default;
    explicit CIniFile(const QString& path) { SetPath(path); }

    void SetPath(const QString& path);
    const QString& Path() const { return m_path; }

    // The value, at most 2047 characters; nothing when it reads as empty.
    std::optional<QString> GetString(const QString& section, const QString& key,
                                     const QString& defaultValue = QStringLiteral(" ")) const;
    // GetString with the default text in place of nothing.
    QString Read(const QString& section, const QString& key, const QString& defaultValue) const;

    bool WriteString(const QString& section, const QString& key, const QString& text);

    // The file as parsed, for readers of the text layer that take one.
    const PrivateProfile& Profile() const { return m_profile; }

private:
    QString m_path;
    PrivateProfile m_profile;
};

}  // namespace korvel
