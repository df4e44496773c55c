#include <gtest/gtest.h>

#include "text/app_paths.h"

namespace korvel {
namespace {

TEST(AppPaths, EverythingBesideTheProgramComesFromItsFolder) {
    const std::filesystem::path program = "/opt/korvel/bin";
    const AppPaths paths(program, "/home/someone/Documents");

    EXPECT_EQ(paths.ProgramDirectory(), program);
    EXPECT_EQ(paths.HelpDirectory(), program / "Help");
    EXPECT_EQ(paths.HelpFile(), program / "Help" / "help.pdf");
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

}  // namespace
}  // namespace korvel
