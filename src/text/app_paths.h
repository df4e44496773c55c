#pragma once

#include <filesystem>

namespace korvel {

// A skin INI file and the folder its pictures are looked up in.
struct SkinFile {
    std::filesystem::path file;
    std::filesystem::path folder;
};

// The folder below the user's Documents folder that holds the profile files and deze.ini.
inline constexpr const char* kProfileFolderName = "Korvel_09A";
inline constexpr const char* kLightingSettingsFileName = "deze.ini";
inline constexpr const char* kHelpFileName = "index.html";

// The companion program keeps its Windows name there; elsewhere programs carry no extension.
#ifdef _WIN32
inline constexpr const char* kCompanionProgramName = "RuZozeru.exe";
#else
inline constexpr const char* kCompanionProgramName = "RuZozeru";
#endif

// Every file and folder the program uses, built once at start-up. Nothing is checked for
// existence here: the code that opens a file reports its own errors.
//
// The Documents folder is handed in (the GUI asks the platform, korvelctl and tests pass a folder
// of their own), so that nothing here depends on who runs the program.
class AppPaths {
public:
    AppPaths(std::filesystem::path programDirectory, std::filesystem::path documentsDirectory);

    const std::filesystem::path& ProgramDirectory() const { return m_programDirectory; }
    // Skins/, Help/ and Package/ live here: the program's folder, or share/korvel of an install.
    const std::filesystem::path& DataDirectory() const { return m_dataDirectory; }
    const std::filesystem::path& HelpDirectory() const { return m_helpDirectory; }
    std::filesystem::path HelpFile() const { return m_helpDirectory / kHelpFileName; }

    const SkinFile& MainSkin() const { return m_mainSkin; }
    const SkinFile& ProfileSkin() const { return m_profileSkin; }
    const SkinFile& UpdateSkin() const { return m_updateSkin; }
    const SkinFile& MacroSkin() const { return m_macroSkin; }
    const SkinFile& CompositeSkin() const { return m_compositeSkin; }

    // Where the firmware update dialog's file picker starts.
    const std::filesystem::path& UpdatePackageFolder() const { return m_updatePackageFolder; }
    const std::filesystem::path& CompanionProgram() const { return m_companionProgram; }
    const std::filesystem::path& LanguageFile() const { return m_languageFile; }
    // Where the user's language choice is kept when the language file is not the user's to write
    // (an installed program); empty otherwise.
    const std::filesystem::path& LanguageChoiceFile() const { return m_languageChoiceFile; }

    const std::filesystem::path& DocumentsDirectory() const { return m_documentsDirectory; }
    // Documents/Korvel_09A: the profile files and the working file.
    const std::filesystem::path& ProfileFolder() const { return m_profileFolder; }
    // Documents/Korvel_09A/deze.ini: the lighting settings.
    const std::filesystem::path& LightingSettingsFile() const { return m_lightingSettingsFile; }

private:
    std::filesystem::path m_programDirectory;
    std::filesystem::path m_dataDirectory;
    std::filesystem::path m_helpDirectory;
    SkinFile m_mainSkin;
    SkinFile m_profileSkin;
    SkinFile m_updateSkin;
    SkinFile m_macroSkin;
    SkinFile m_compositeSkin;
    std::filesystem::path m_updatePackageFolder;
    std::filesystem::path m_companionProgram;
    std::filesystem::path m_languageFile;
    std::filesystem::path m_languageChoiceFile;
    std::filesystem::path m_documentsDirectory;
    std::filesystem::path m_profileFolder;
    std::filesystem::path m_lightingSettingsFile;
};

}  // namespace korvel
