#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "gui/shell/command_line.h"
#include "gui/shell/startup_environment.h"

namespace korvel {
namespace {

std::filesystem::path FsPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

TEST(StartupEnvironment, SettingsLiveUnderTheOrganisationAndTheProgramsName) {
    SetSettingsRoot();
    EXPECT_EQ(QCoreApplication::organizationName(), "Korvel_Tolvane");
    EXPECT_EQ(QCoreApplication::applicationName(), "korvel_gui_tests");
    const QSettings settings;
    EXPECT_EQ(settings.organizationName(), "Korvel_Tolvane");
    EXPECT_EQ(settings.applicationName(), "korvel_gui_tests");
}

TEST(StartupEnvironment, ArgumentsAfterTheProgramName) {
    EXPECT_EQ(ArgumentsAfterProgram({"korvel", "/Start", "--documents", "/tmp/d"}),
              (std::vector<std::string>{"/Start", "--documents", "/tmp/d"}));
    EXPECT_TRUE(ArgumentsAfterProgram({"korvel"}).empty());
    EXPECT_TRUE(ArgumentsAfterProgram({}).empty());
}

TEST(StartupEnvironment, DocumentsComeFromTheOptionAndMustExist) {
    QTemporaryDir folder;
    StartOptions options;
    options.documents = folder.path().toStdString();
    EXPECT_EQ(StartDocumentsFolder(options).path, folder.path().toStdString());
    options.documents = folder.filePath("missing").toStdString();
    const DocumentsFolder missing = StartDocumentsFolder(options);
    EXPECT_TRUE(missing.path.empty());
    EXPECT_NE(missing.error.find("does not exist"), std::string::npos);
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("missing")));
}

TEST(StartupEnvironment, PathsStartAtTheProgramsFolder) {
    const AppPaths paths = MakeAppPaths("/tmp/stand-in");
    EXPECT_EQ(paths.ProgramDirectory(), FsPath(QCoreApplication::applicationDirPath()));
    EXPECT_EQ(paths.LanguageFile(),
              FsPath(QCoreApplication::applicationDirPath()) / "Skins" / "language.ini");
    EXPECT_EQ(paths.LightingSettingsFile(),
              std::filesystem::path("/tmp/stand-in/Korvel_09A/deze.ini"));
}

}  // namespace
}  // namespace korvel
