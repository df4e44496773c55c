#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>

#include "cli/cli_commands.h"
#include "support/temp_folder.h"

namespace korvel::cli {
namespace {

// No korvelctl run of this program looks at the real Documents folder: without --documents the
// commands get an empty temporary one.
class TemporaryDocuments : public ::testing::Environment {
public:
    void SetUp() override {
        m_folder.emplace();
        ::setenv("XDG_DOCUMENTS_DIR", m_folder->Path().c_str(), 1);
    }
    void TearDown() override { m_folder.reset(); }

private:
    std::optional<fixtures::TempFolder> m_folder;
};

[[maybe_unused]] const auto* const kTemporaryDocuments =
    ::testing::AddGlobalTestEnvironment(new TemporaryDocuments);

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedVariable() {
        if (m_old) {
            ::setenv(m_name, m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

DocumentsFolder DocumentsOf(const std::string& option) {
    CommandLine line;
    line.options.documents = option;
    std::ostringstream out;
    std::ostringstream err;
    return CommandContext(line, out, err).Documents();
}

// One rule for every command that needs the Documents folder (import, export, lighting); its
// cases are the app layer's tests.
TEST(DocumentsFolder, TheCommandsTakeTheSharedRule) {
    fixtures::TempFolder folder;
    ScopedVariable xdg("XDG_DOCUMENTS_DIR", folder.Path().c_str());
    EXPECT_EQ(DocumentsOf("").path, folder.Path());
    EXPECT_EQ(DocumentsOf(folder.Path().string()).path, folder.Path());
    EXPECT_NE(DocumentsOf((folder / "missing").string()).error.find("does not exist"),
              std::string::npos);
    ScopedVariable unexpanded("XDG_DOCUMENTS_DIR", "$HOME/../Documents");
    ScopedVariable noHome("HOME", nullptr);
    EXPECT_TRUE(DocumentsOf("").path.empty());
}

}  // namespace
}  // namespace korvel::cli
