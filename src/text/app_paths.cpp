#include "text/app_paths.h"

#include <utility>

#include "text/data_directory.h"
#include "text/text_table.h"

namespace korvel {
namespace {

SkinFile SkinOf(const std::filesystem::path& dataDirectory, const char* name) {
    const std::filesystem::path folder = dataDirectory / "Skins";
    return SkinFile{folder / name, folder};
}

}  // namespace

AppPaths::AppPaths(std::filesystem::path programDirectory, std::filesystem::path documentsDirectory)
    : m_programDirectory(std::move(programDirectory)),
      m_dataDirectory(DataDirectoryOf(m_programDirectory)),
      m_helpDirectory(m_dataDirectory / "Help"),
      m_mainSkin(SkinOf(m_dataDirectory, "Main.ini")),
      m_profileSkin(SkinOf(m_dataDirectory, "Profile.ini")),
      m_updateSkin(SkinOf(m_dataDirectory, "UpdateDlg.ini")),
      m_macroSkin(SkinOf(m_dataDirectory, "Macro.ini")),
      m_compositeSkin(SkinOf(m_dataDirectory, "Composite.ini")),
      m_updatePackageFolder(m_dataDirectory / "Package"),
      m_companionProgram(m_programDirectory / kCompanionProgramName),
      m_languageFile(LanguageFilePath(m_programDirectory)),
      m_languageChoiceFile(LanguageChoiceFileOf(m_programDirectory)),
      m_documentsDirectory(std::move(documentsDirectory)),
      m_profileFolder(m_documentsDirectory / kProfileFolderName),
      m_lightingSettingsFile(m_profileFolder / kLightingSettingsFileName) {}

}  // namespace korvel
