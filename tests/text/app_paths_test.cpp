#include <gtest/gtest.h>

#include "text/app_paths.h"

#include "support/temp_folder.h"
#include "text/data_directory.h"

namespace korvel {
namespace {

TEST(AppPaths, EverythingBesideTheProgramComesFromItsFolder) {
    const std::filesystem::path program = "/opt/korvel/bin";
    const AppPaths paths(program, "/home/someone/Documents");

    EXPECT_EQ(paths.ProgramDirectory(), program);
    EXPECT_EQ(paths.HelpDirectory(), program / "Help");
    EXPECT_EQ(paths.HelpFile(), program / "Help" / "index.html");
    EXPECT_EQ(paths.UpdatePackageFolder(), program / "Package");
    EXPECT_EQ(paths.LanguageFile(), program / "Skins" / "language.ini");
#ifdef _WIN32
    EXPECT_EQ(paths.CompanionProgram(), program / "RuZozeru.exe");
#else
    EXPECT_EQ(paths.CompanionProgram(), program / "RuZozeru");
#endif

    struct Case {
        const SkinFile& skin;
        const char* name;
    };
    const Case cases[] = {
        {paths.MainSkin(), "Main.ini"},           {paths.ProfileSkin(), "Profile.ini"},
        {paths.UpdateSkin(), "UpdateDlg.ini"},    {paths.MacroSkin(), "Macro.ini"},
        {paths.CompositeSkin(), "Composite.ini"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.skin.file, program / "Skins" / c.name) << c.name;
        EXPECT_EQ(c.skin.folder, program / "Skins") << c.name;
    }
}

TEST(AppPaths, TheUsersFilesComeFromTheDocumentsFolderHandedIn) {
    const std::filesystem::path documents = "/tmp/stand-in-documents";
    const AppPaths paths("/opt/korvel/bin", documents);

    EXPECT_EQ(paths.DocumentsDirectory(), documents);
    EXPECT_EQ(paths.ProfileFolder(), documents / "Korvel_09A");
    EXPECT_EQ(paths.LightingSettingsFile(), documents / "Korvel_09A" / "deze.ini");
}

// An installed program (PREFIX/bin) finds Skins/, Help/ and Package/ in PREFIX/share/korvel; one
// with Skins/ beside it (the build tree) uses its own folder.
TEST(AppPaths, AnInstalledProgramFindsItsFilesInShareKorvel) {
    fixtures::TempFolder prefix;
    std::filesystem::create_directories(prefix / "bin");
    std::filesystem::create_directories(prefix / "share/korvel/Skins");
    const std::filesystem::path program = prefix / "bin";
    const std::filesystem::path data = prefix / "share/korvel";
    const AppPaths installed(program, "/tmp/stand-in-documents");
    EXPECT_EQ(installed.DataDirectory(), data);
    EXPECT_EQ(installed.MainSkin().file, data / "Skins" / "Main.ini");
    EXPECT_EQ(installed.LanguageFile(), data / "Skins" / "language.ini");
    EXPECT_EQ(installed.HelpFile(), data / "Help" / "index.html");
    EXPECT_EQ(installed.UpdatePackageFolder(), data / "Package");
    EXPECT_EQ(installed.LanguageChoiceFile().filename(), "language.ini");
    EXPECT_TRUE(IsInstalledLayout(program));

    std::filesystem::create_directories(prefix / "bin/Skins");
    const AppPaths beside(program, "/tmp/stand-in-documents");
    EXPECT_EQ(beside.DataDirectory(), program);
    EXPECT_EQ(beside.LanguageFile(), program / "Skins" / "language.ini");
    EXPECT_TRUE(beside.LanguageChoiceFile().empty());
}

}  // namespace
}  // namespace korvel
