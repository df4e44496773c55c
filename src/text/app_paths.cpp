#include "text/app_paths.h"

#include <utility>

#include "text/text_table.h"

namespace korvel {
namespace {

SkinFile SkinOf(const std::filesystem::path& programDirectory, const char* name) {
    const std::filesystem::path folder = programDirectory / "Skins";
    return SkinFile{folder / name, folder};
}

}  // namespace

AppPaths::AppPaths(std::filesystem::path programDirectory, std::filesystem::path documentsDirectory)
    : m_programDirectory(std::move(programDirectory)),
      m_helpDirectory(m_programDirectory / "Help"),
      m_mainSkin(SkinOf(m_programDirectory, "Main.ini")),
      m_profileSkin(SkinOf(m_programDirectory, "Profile.ini")),
      m_updateSkin(SkinOf(m_programDirectory, "UpdateDlg.ini")),
      m_macroSkin(SkinOf(m_programDirectory, "Macro.ini")),
      m_compositeSkin(SkinOf(m_programDirectory, "Composite.ini")),
      m_updatePackageFolder(m_programDirectory / "Package"),
      m_companionProgram(m_programDirectory / kCompanionProgramName),
      m_languageFile(LanguageFilePath(m_programDirectory)),
      m_documentsDirectory(std::move(documentsDirectory)),
      m_profileFolder(m_documentsDirectory / kProfileFolderName),
      m_lightingSettingsFile(m_profileFolder / kLightingSettingsFileName) {}

}  // namespace korvel
