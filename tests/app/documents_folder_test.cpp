#include "app/documents_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <map>
#include <string>
#include <string_view>

#include "support/temp_folder.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;

TEST(DocumentsFolder, TheDesktopsFolderOrARefusalNeverAGuess) {
    fixtures::TempFolder home;
    fs::create_directories(home / "Documents");
    fs::create_directories(home / "Dokumente");
    fs::create_directories(home / "config");
    fixtures::WriteBytes(home / "config" / "user-dirs.dirs",
                         "# written by xdg-user-dirs-update\n"
                         "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                         "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    fs::create_directories(home / "other");
    fixtures::WriteBytes(home / "other" / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"Documents\"\n");
    const std::string h = home.Path().string();

    struct Case {
        const char* what;
        std::string given;
        std::map<std::string, std::string> environment;
        fs::path expected;  // empty: refused
        const char* reason = "";
    };
    const Case cases[] = {
        {"--documents wins", h + "/Documents", {{"HOME", "/nowhere"}}, home / "Documents"},
        {"--documents must exist", h + "/missing/deep", {{"HOME", h}}, {}, "does not exist"},
        {"the user-dirs file",
         "",
         {{"HOME", h}, {"XDG_CONFIG_HOME", h + "/config"}},
         home / "Dokumente"},
        {"the variable before the file",
         "",
         {{"HOME", h},
          {"XDG_CONFIG_HOME", h + "/config"},
          {"XDG_DOCUMENTS_DIR", "$HOME/Documents"}},
         home / "Documents"},
        {"no file: ~/Documents",
         "",
         {{"HOME", h}, {"XDG_CONFIG_HOME", h + "/none"}},
         home / "Documents"},
        {"an unexpanded variable is refused",
         "",
         {{"HOME", h}, {"XDG_DOCUMENTS_DIR", "$XDG_HOME/Documents"}},
         {},
         "not an absolute path"},
        {"a relative entry is refused",
         "",
         {{"HOME", h}, {"XDG_CONFIG_HOME", h + "/other"}},
         {},
         "not an absolute path"},
        {"no HOME", "", {}, {}, "HOME is not set"},
        {"a relative HOME", "", {{"HOME", "home"}}, {}, "HOME is not set"},
        {"a missing Documents folder is not made",
         "",
         {{"HOME", h + "/config"}, {"XDG_CONFIG_HOME", h + "/none"}},
         {},
         "does not exist"},
    };
    for (const Case& c : cases) {
        const DocumentsFolder found = FindDocumentsFolder(c.given, [&](const char* name) {
            const auto at = c.environment.find(name);
            return at == c.environment.end() ? nullptr : at->second.c_str();
        });
        EXPECT_EQ(found.path, c.expected) << c.what;
        EXPECT_NE(found.error.find(c.reason), std::string::npos) << c.what << ": " << found.error;
        EXPECT_EQ(found.path.empty(), !found.error.empty()) << c.what;
    }
    EXPECT_FALSE(fs::exists(home / "missing"));
    EXPECT_FALSE(fs::exists(home / "config" / "Documents"));
}

TEST(DocumentsFolder, AFifoInPlaceOfTheUserDirsFileIsNotWaitedOn) {
    fixtures::TempFolder home;
    fs::create_directories(home / "Documents");
    fs::create_directories(home / "config");
    const fs::path fifo = home / "config" / "user-dirs.dirs";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string h = home.Path().string();
    const std::string config = h + "/config";
    auto lookup = std::async(std::launch::async, [&] {
        return FindDocumentsFolder("", [&](const char* name) -> const char* {
            const std::string_view variable(name);
            return variable == "HOME"              ? h.c_str()
                   : variable == "XDG_CONFIG_HOME" ? config.c_str()
                                                   : nullptr;
        });
    });
    // Only a lookup stuck in the FIFO ever waits this long; a writer that comes and goes lets it
    // end, so that the test fails rather than hangs.
    if (lookup.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        ::close(::open(fifo.c_str(), O_WRONLY));
        ADD_FAILURE() << "the lookup waited for a writer of " << fifo;
    }
    EXPECT_EQ(lookup.get().path, home / "Documents");
}

}  // namespace
}  // namespace korvel
