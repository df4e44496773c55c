#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/keyboard_folder.h"
#include "cli/sample_profile.h"
#include "model/files/profile_locations.h"

namespace korvel::cli {
namespace {

using fixtures::ReadBytes;
using fixtures::WriteBytes;
using test::Outcome;

class ProfileJsonCommands : public test::KeyboardFolder {
protected:
    std::string Sample() {
        ConfigStore store;
        const std::filesystem::path file = folder / "sample.kvp";
        EXPECT_TRUE(test::WriteSampleProfile(store, file));
        return file.string();
    }
};

TEST_F(ProfileJsonCommands, ConvertGoesBothWaysByteForByte) {
    const std::string sample = Sample();
    const std::string json = (folder / "sample.json").string();
    const std::string back = (folder / "back.kvp").string();
    ASSERT_EQ(Run({"convert", sample, json}).status, 0);
    ASSERT_EQ(Run({"convert", json, back}).status, 0);
    EXPECT_EQ(ReadBytes(back), ReadBytes(sample));

    const nlohmann::json document = nlohmann::json::parse(ReadBytes(json));
    EXPECT_EQ(document["profiles"][0]["keys"]["A"], "B");
    EXPECT_EQ(document["profiles"][1]["keys"]["S"],
              nlohmann::json::parse(R"({"action": "macro:second", "cycles": 0})"));
    EXPECT_EQ(document["profiles"][2]["keys"]["D"]["launch"], "run \"me\".exe");
    // The JSON form is a profile file to every command that reads one.
    EXPECT_EQ(Run({"validate", json}).out, "valid\n");
    EXPECT_EQ(Run({"dump", json}).out, Run({"dump", sample}).out);
    EXPECT_EQ(Run({"diff", sample, json}).status, 0);
}

TEST_F(ProfileJsonCommands, AMistakeIsNamedByItsPathAndChangesNothing) {
    const std::string json = (folder / "edited.json").string();
    ASSERT_EQ(Run({"convert", Sample(), json}).status, 0);
    std::string text = ReadBytes(json);
    text.replace(text.find("\"B\""), 3, "\"Hyper\"");
    WriteBytes(json, text);
    const std::string target = (folder / "target.kvp").string();
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"convert", json, target},
          {"validate", json},
          {"import", "--no-backup", json}}) {
        const Outcome run = Run(command);
        EXPECT_EQ(run.status, 1) << command[0];
        EXPECT_NE(run.err.find("$.profiles[0].keys.A: 'Hyper' is no key"), std::string::npos)
            << command[0] << ": " << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_FALSE(std::filesystem::exists(WorkingFile(Documents())));
}

TEST_F(ProfileJsonCommands, ExportAsJsonImportsBackToTheSameKeyboard) {
    ASSERT_EQ(Run({"import", "--no-backup", Sample()}).status, 0);
    const std::string json = (folder / "keyboard.json").string();
    ASSERT_EQ(Run({"export", "--json", json}).status, 0);
    EXPECT_EQ(nlohmann::json::parse(ReadBytes(json))["profiles"][0]["keys"]["A"], "B");
    EXPECT_EQ(Run({"diff", "keyboard", json}).status, 0);

    std::string text = ReadBytes(json);
    text.replace(text.find("\"B\""), 3, "\"VolumeUp\"");
    WriteBytes(json, text);
    const Outcome imported = Run({"import", "--no-backup", json});
    ASSERT_EQ(imported.status, 0) << imported.err;
    const Outcome diff = Run({"diff", "keyboard", (folder / "sample.kvp").string()});
    EXPECT_EQ(diff.status, 1);
    // The keyboard keeps no program to launch: D differs too.
    EXPECT_EQ(
        diff.out.rfind("profile 1, A\n  - media key Volume Up\n  + sends B\nprofile 3, D\n", 0), 0u)
        << diff.out;
}

}  // namespace
}  // namespace korvel::cli
