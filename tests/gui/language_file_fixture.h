#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <filesystem>

namespace korvel::fixtures {

// A language file of the test's own in a temporary folder.
class LanguageFileFixture {
public:
    explicit LanguageFileFixture(const QByteArray& utf8Text) {
        QFile file(m_folder.filePath(QStringLiteral("language.ini")));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(utf8Text);
        }
    }
    bool IsValid() const { return m_folder.isValid() && QFile::exists(FilePathString()); }
    QString FilePathString() const { return m_folder.filePath(QStringLiteral("language.ini")); }
    std::filesystem::path FilePath() const { return FilePathString().toStdU16String(); }

private:
    QTemporaryDir m_folder;
};

inline QByteArray TwoLanguageText(int language) {
    return "[LANGUAGE]\nlanguage=" + QByteArray::number(language) +
           "\n"
           "[CHINESE]\n"
           "KEYBOARD_TRAY_DESC=\xE6\xB8\xB8\xE6\x88\x8F\xE9\x94\xAE\xE7\x9B\x98\n"
           "MENU_11=\xE6\x89\x93\xE5\xBC\x80\n"
           "MENU_22=\xE5\x85\xB3\xE4\xBA\x8E\n"
           "MENU_33=\xE9\x80\x80\xE5\x87\xBA\n"
           "MENU_3=\xE5\x85\xB3\xE4\xBA\x8E\n"
           "GUANYU_JIESHAO=Chinese about line\n"
           "GUANYU_BANQUAN=Chinese copyright line\n"
           "[ENGINSH]\n"
           "KEYBOARD_TRAY_DESC=Test keyboard\n"
           "MENU_11=Open\n"
           "MENU_22=About\n"
           "MENU_33=Exit\n"
           "MENU_3=About\n"
           "GUANYU_JIESHAO=English about line\n"
           "GUANYU_BANQUAN=English copyright line\n";
}

}  // namespace korvel::fixtures
