#pragma once

#include <QString>
#include <map>
#include <memory>
#include <utility>

#include "gui/skin/dialog_skin.h"

namespace korvel::fixtures {

// A skin of a test's own over another: its captions read "<KEY>", and any value or picture of the
// other can be replaced.
class OwnSkin : public DialogSkin {
public:
    explicit OwnSkin(std::shared_ptr<const DialogSkin> base) : m_base(std::move(base)) {}

    void SetValue(const QString& section, const QString& key, const QString& value) {
        m_values[{section, key}] = value;
    }
    void SetPicture(const QString& picture, const QString& file) { m_pictures[picture] = file; }

    QString Value(const QString& section, const QString& key,
                  const QString& defaultValue) const override {
        const auto it = m_values.find({section, key});
        return it != m_values.end() ? it->second : m_base->Value(section, key, defaultValue);
    }
    const PrivateProfile& Description() const override { return m_base->Description(); }
    QString Name() const override { return QStringLiteral("own skin"); }
    QString PicturePath(const QString& picture) const override {
        const auto it = m_pictures.find(picture);
        return it != m_pictures.end() ? it->second : m_base->PicturePath(picture);
    }
    QString Caption(const char* key) const override {
        return QStringLiteral("<%1>").arg(QString::fromLatin1(key));
    }

private:
    std::shared_ptr<const DialogSkin> m_base;
    std::map<std::pair<QString, QString>, QString> m_values;
    std::map<QString, QString> m_pictures;
};

}  // namespace korvel::fixtures
