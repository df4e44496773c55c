#include "gui/skin/folder_skin.h"

#include <QDir>

#include "text/app_paths.h"
#include "text/text_table.h"

namespace korvel {

FolderSkin::FolderSkin(const SkinFile& file, const TextTable& texts, CaptionLanguage language)
    : m_ini(QString::fromStdU16String(file.file.u16string())),
      m_folder(QString::fromStdU16String(file.folder.u16string())),
      m_texts(texts),
      m_language(language) {}

QString FolderSkin::Value(const QString& section, const QString& key,
                          const QString& defaultValue) const {
    return m_ini.Read(section, key, defaultValue);
}

QString FolderSkin::PicturePath(const QString& picture) const {
    return QDir(m_folder).filePath(picture);
}

QString FolderSkin::Caption(const char* key) const {
    const Language language =
        m_language == CaptionLanguage::Table ? m_texts.TextLanguage() : m_texts.CaptionLanguage();
    return QString::fromStdU16String(m_texts.ReadText(key, language));
}

std::shared_ptr<const DialogSkin> MakeFolderSkin(const SkinFile& file, const TextTable& texts,
                                                 CaptionLanguage language) {
    return std::make_shared<FolderSkin>(file, texts, language);
}

}  // namespace korvel
