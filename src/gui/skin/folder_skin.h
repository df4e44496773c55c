#pragma once

#include <memory>

#include "gui/skin/dialog_skin.h"
#include "gui/skin/ini_file.h"

namespace korvel {

struct SkinFile;
class TextTable;

// Which of the text table's languages a dialog's captions follow: the table's own (the editors),
// or the main window's, which follows a switch even when the language file could not be written.
enum class CaptionLanguage { Table, Window };

// A skin as the program ships it: a description file and the folder of its pictures, with the
// captions of the program's text table.
class FolderSkin : public DialogSkin {
public:
    FolderSkin(const SkinFile& file, const TextTable& texts, CaptionLanguage language);

    QString Value(const QString& section, const QString& key,
                  const QString& defaultValue) const override;
    const PrivateProfile& Description() const override { return m_ini.Profile(); }
    QString Name() const override { return m_ini.Path(); }
    QString PicturePath(const QString& picture) const override;
    QString Caption(const char* key) const override;

private:
    CIniFile m_ini;
    QString m_folder;
    const TextTable& m_texts;
    CaptionLanguage m_language;
};

std::shared_ptr<const DialogSkin> MakeFolderSkin(const SkinFile& file, const TextTable& texts,
                                                 CaptionLanguage language);

}  // namespace korvel
