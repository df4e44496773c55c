#pragma once

#include <QString>
#include <memory>

class QTranslator;

namespace korvel {

// Qt's own texts (the standard buttons of message boxes, file and colour dialogs, the context
// menus of text fields) in the language of the program's texts: Qt's Chinese translation is
// installed while the program speaks Chinese, when the system has it.
class QtTranslations {
public:
    // `folder`: where Qt's translation files are; empty: Qt's own installation folder.
    explicit QtTranslations(QString folder = {});
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // 0 Chinese, any other value English (Qt's built-in texts). Returns whether Qt's texts are
    // now in that language; false when the translation is not installed on this system.
    bool Follow(int language);
    bool Installed() const;

private:
    QString m_folder;
    std::unique_ptr<QTranslator> m_translator;
};

}  // namespace korvel
