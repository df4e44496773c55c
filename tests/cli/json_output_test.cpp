#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/korvelctl_run.h"
#include "support/temp_folder.h"

namespace korvel::cli {
namespace {

using test::Korvelctl;
using test::Outcome;

// "name: value" lines as a map.
std::map<std::string, std::string> Fields(const std::string& text) {
    std::map<std::string, std::string> fields;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t colon = line.find(": ");
        fields[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return fields;
}

std::string Text(const nlohmann::json& value) {
    return value.is_string() ? value.get<std::string>() : value.dump();
}

TEST(JsonOutput, SaysWhatTheTextSaysAsOneDocument) {
    fixtures::TempFolder folder;
    const std::string state = "--simulate=" + (folder / "kb.state").string();
    ASSERT_EQ(Korvelctl({state, "lighting", "set", "color", "#123456", "2"}).status, 0);
    ASSERT_EQ(Korvelctl({state, "profile", "3"}).status, 0);

    const Outcome info = Korvelctl({state, "info", "--json"});
    ASSERT_EQ(info.status, 0) << info.err;
    const auto document = nlohmann::json::parse(info.out);
    EXPECT_EQ(document["activeProfile"], 3);
    EXPECT_EQ(document["macroCapacity"], 8192);
    EXPECT_EQ(document["effects"].size(), 19u);
    EXPECT_EQ(nlohmann::json::parse(Korvelctl({state, "profile", "--json"}).out)["activeProfile"],
              3);

    for (const char* profile : {"1", "2"}) {
        const Outcome text = Korvelctl({state, "lighting", profile});
        const Outcome json = Korvelctl({state, "lighting", profile, "--json"});
        ASSERT_EQ(json.status, 0) << json.err;
        const auto fields = Fields(text.out);
        const auto values = nlohmann::json::parse(json.out);
        ASSERT_EQ(values.size(), fields.size());
        for (const auto& [name, value] : fields) {
            EXPECT_EQ(Text(values[name]), value) << profile << ": " << name;
        }
    }

    // Where nothing is printed, --json is a usage error.
    const struct {
        std::vector<std::string> args;
        const char* said;
    } refused[] = {
        {{state, "profile", "2", "--json"}, "--json prints the active profile"},
        {{state, "lighting", "--json", "set", "effect", "3"}, "'lighting set' prints nothing"},
    };
    for (const auto& r : refused) {
        const Outcome run = Korvelctl(r.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(r.said), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace korvel::cli
