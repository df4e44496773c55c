#include "gui/platform/qt_settings_store.h"

#include <QSettings>

namespace korvel {
namespace {

QString Name(std::string_view section, std::string_view key) {
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + u'/' +
           QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

}  // namespace

void QtSettingsStore::WriteString(std::string_view section, std::string_view key,
                                  std::u16string_view value) {
    QSettings().setValue(Name(section, key), QString::fromStdU16String(std::u16string(value)));
}

std::optional<std::u16string> QtSettingsStore::ReadString(std::string_view section,
                                                          std::string_view key) const {
    const QVariant value = QSettings().value(Name(section, key));
    if (!value.isValid()) {
        return std::nullopt;
    }
    return value.toString().toStdU16String();
}

void QtSettingsStore::Remove(std::string_view section, std::string_view key) {
    QSettings().remove(Name(section, key));
}

}  // namespace korvel
