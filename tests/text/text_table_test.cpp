#include "text/text_table.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "base/text_encoding.h"
#include "support/temp_folder.h"
#include "text/private_profile.h"

namespace korvel {
namespace {

using fixtures::ReadBytes;
using fixtures::TempFolder;
using fixtures::WriteBytes;

// A language file in which every key of the table has a text naming its language and its key.
std::string CompleteLanguageFile(std::string_view languageLine) {
    std::string file = "[LANGUAGE]\n" + std::string(languageLine) + "\n[CHINESE]\n";
    for (const TextKeyInfo& info : TextKeyTable()) {
        file += std::string(info.name) + "=中文 " + std::string(info.name) + "\n";
    }
    file += "[ENGINSH]\n";
    for (const TextKeyInfo& info : TextKeyTable()) {
        file += std::string(info.name) + "=English " + std::string(info.name) + "\n";
    }
    return file;
}

std::u16string Expected(std::u16string_view prefix, const TextKeyInfo& info) {
    return std::u16string(prefix) + Utf8ToUtf16(info.name);
}

struct LanguageCase {
    const char* name;
    const char* line;
    Language language;
};

// Keeps test listings readable: a case prints as its name, not as its bytes.
void PrintTo(const LanguageCase& c, std::ostream* os) {
    *os << c.name;
}

class LanguageChoice : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageChoice, OneSelectsEnglishAnythingElseChinese) {
    TempFolder folder;
    const auto file = folder / "language.ini";
    WriteBytes(file, CompleteLanguageFile(GetParam().line));
    TextTable table(file);
    table.LoadTexts();

    const std::u16string_view prefix =
        GetParam().language == Language::English ? u"English " : u"中文 ";
    for (const TextKeyInfo& info : TextKeyTable()) {
        EXPECT_EQ(table.Text(info.key), Expected(prefix, info)) << info.name;
    }
    EXPECT_EQ(table.TextLanguage(), GetParam().language);
    EXPECT_EQ(table.CaptionLanguage(), GetParam().language);
}

INSTANTIATE_TEST_SUITE_P(
    Values, LanguageChoice,
    ::testing::Values(LanguageCase{"One", "language=1", Language::English},
                      LanguageCase{"OneInAnotherCase", "LANGUAGE = 01", Language::English},
                      LanguageCase{"Two", "language=2", Language::Chinese},
                      LanguageCase{"Zero", "language=0", Language::Chinese},
                      LanguageCase{"NotANumber", "language=english", Language::Chinese},
                      LanguageCase{"Empty", "language=", Language::Chinese},
                      LanguageCase{"Missing", "; no value", Language::Chinese}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextTable, HoldsTheBuiltInTextsUntilLoaded) {
    const TextTable table(std::filesystem::path("no-such-folder") / "language.ini");
    EXPECT_EQ(table.Text(TextKey::MACRO_NEW_PREFIX), u"Macro");
    EXPECT_EQ(table.Text(TextKey::UNKNOWN_KEY), u"Unknown Key: %03x");
    EXPECT_EQ(table.Text(TextKey::PROFILE_NEW), u"\\The new contextual  mode");
    EXPECT_EQ(table.Text(TextKey::MAIN_BOOT_ERROR_TEXT), u"无法进入Boot模式! ");
    EXPECT_EQ(table.Text("main_no_device_prompt"),
              u"Device is not detected\uFF0Cthe key settings can not be displayed! ");
    EXPECT_EQ(table.Text("NOT_A_KEY"), u"");
    EXPECT_EQ(table.LanguageWord(), 0);
}

TEST(TextTable, MissingKeysAndEmptyValuesGiveEmptyTextsNotBuiltInOnes) {
    TempFolder folder;
    const auto file = folder / "language.ini";
    WriteBytes(file, "[LANGUAGE]\nlanguage=1\n[ENGINSH]\nMACRO_NEW_PREFIX=\nMENU_1=Import\n");
    TextTable table(file);
    table.LoadTexts();
    EXPECT_EQ(table.Text(TextKey::MACRO_NEW_PREFIX), u"");  // present, empty
    EXPECT_EQ(table.Text(TextKey::UNKNOWN_KEY), u"");       // absent
    EXPECT_EQ(table.ReadText("MENU_1", Language::English), u"Import");
    EXPECT_EQ(table.ReadText("MENU_2", Language::English), u"");
    EXPECT_EQ(table.ReadText("MENU_1", Language::Chinese), u"");
}

TEST(TextTable, MissingFileGivesEmptyTextsAndChinese) {
    TempFolder folder;
    TextTable table(folder / "language.ini");
    table.LoadTexts();
    for (const TextKeyInfo& info : TextKeyTable()) {
        EXPECT_EQ(table.Text(info.key), u"") << info.name;
    }
    EXPECT_EQ(table.GetLanguageValue(), 0);
    EXPECT_EQ(table.TextLanguage(), Language::Chinese);
}

TEST(TextTable, LongValuesAreCutToTheTextCapacity) {
    TempFolder folder;
    const auto file = folder / "language.ini";
    const std::u16string exact(kTextCapacity - 1, u'e');
    const std::u16string threeHundred(300, u'x');
    // The update-dialog texts get the same room as every other text, so their English wording is
    // not cut to the length of the Chinese one.
    const std::u16string update =
        u"Please choose a valid update file for the keyboard before starting!";
    PrivateProfile profile;
    ASSERT_TRUE(profile.SetString(u"LANGUAGE", u"language", u"1"));
    ASSERT_TRUE(profile.SetString(u"ENGINSH", u"MACRO_ERR_MAX", exact));
    ASSERT_TRUE(profile.SetString(u"ENGINSH", u"MACRO_ERR_SAME", threeHundred));
    ASSERT_TRUE(profile.SetString(u"ENGINSH", u"MAIN_UPDATE_ERROR_TEXT", update));
    ASSERT_TRUE(profile.SetString(u"ENGINSH", u"MENU_1", threeHundred));
    ASSERT_TRUE(profile.SetString(u"ENGINSH", u"MENU_2", std::u16string(259, u'm')));
    ASSERT_TRUE(profile.Save(file));

    TextTable table(file);
    table.LoadTexts();
    EXPECT_EQ(table.Text(TextKey::MACRO_ERR_MAX), exact);
    EXPECT_EQ(table.Text(TextKey::MACRO_ERR_SAME), threeHundred.substr(0, kTextCapacity - 1));
    EXPECT_EQ(table.Text(TextKey::MAIN_UPDATE_ERROR_TEXT), update);
    // Windows read their captions through the profile, which cuts at 259.
    EXPECT_EQ(table.ReadText("MENU_1", Language::English), threeHundred.substr(0, 259));
    EXPECT_EQ(table.ReadText("MENU_2", Language::English), std::u16string(259, u'm'));
}

TEST(TextTable, EscapedLineBreaksBecomeRealOnes) {
    TempFolder folder;
    const auto file = folder / "language.ini";
    WriteBytes(file,
               "[LANGUAGE]\nlanguage=1\n[ENGINSH]\n"
               "MACRO_DELETE_CONFIRM_OF_KEYS=Keys use this macro,\\n  remove it?\n"
               "PROFILE_NEW=\\The new contextual mode\n"
               "MACRO_ERR_MAX=a\\r\\nb\\\n");
    TextTable table(file);
    table.LoadTexts();
    EXPECT_EQ(table.Text(TextKey::MACRO_DELETE_CONFIRM_OF_KEYS),
              u"Keys use this macro,\n  remove it?");
    EXPECT_EQ(table.Text(TextKey::PROFILE_NEW), u"\\The new contextual mode");
    EXPECT_EQ(table.Text(TextKey::MACRO_ERR_MAX), u"a\r\nb\\");
}

TEST(TextTable, SwitchLanguagePersistsAndReloads) {
    TempFolder folder;
    const auto file = folder / "language.ini";
    WriteBytes(file, CompleteLanguageFile("language=0"));
    {
        TextTable table(file);
        table.LoadTexts();
        ASSERT_EQ(table.Text(TextKey::MAIN_CAPTION), u"中文 MAIN_CAPTION");

        EXPECT_TRUE(table.SwitchLanguage(1));
        EXPECT_EQ(table.LanguageWord(), 1);
        EXPECT_EQ(table.GetLanguageValue(), 1);
        EXPECT_EQ(table.Text(TextKey::MAIN_CAPTION), u"English MAIN_CAPTION");
    }
    // The value is written in place into the existing [LANGUAGE] section.
    EXPECT_EQ(ReadBytes(file), CompleteLanguageFile("language=1"));

    TextTable restarted(file);
    restarted.LoadTexts();
    EXPECT_EQ(restarted.Text(TextKey::MAIN_CAPTION), u"English MAIN_CAPTION");
    EXPECT_EQ(restarted.LanguageWord(), 0);

    EXPECT_TRUE(restarted.SwitchLanguage(0));
    EXPECT_EQ(restarted.Text(TextKey::MAIN_CAPTION), u"中文 MAIN_CAPTION");
    EXPECT_EQ(ReadBytes(file), CompleteLanguageFile("language=0"));
}

// An installed program cannot write its language file: the choice goes to the user's own file,
// and the shipped file stays as it was.
TEST(TextTable, AChoiceFileTakesTheChoiceAndLeavesTheLanguageFileAlone) {
    TempFolder folder;
    const auto file = folder / "language.ini";
    const auto choice = folder / "config" / "Korvel_Tolvane" / "language.ini";
    WriteBytes(file, CompleteLanguageFile("language=0"));
    {
        TextTable table(file, choice);
        table.LoadTexts();
        ASSERT_EQ(table.Text(TextKey::MAIN_CAPTION), u"中文 MAIN_CAPTION");
        EXPECT_TRUE(table.SwitchLanguage(1));
        EXPECT_EQ(table.Text(TextKey::MAIN_CAPTION), u"English MAIN_CAPTION");
    }
    EXPECT_EQ(ReadBytes(file), CompleteLanguageFile("language=0"));
    EXPECT_EQ(ReadBytes(choice), "[language]\r\nlanguage=1\r\n");

    TextTable restarted(file, choice);
    restarted.LoadTexts();
    EXPECT_EQ(restarted.GetLanguageValue(), 1);
    EXPECT_EQ(restarted.Text(TextKey::MAIN_CAPTION), u"English MAIN_CAPTION");
}

TEST(TextTable, SwitchLanguageAddsTheSettingToAFileWithoutOne) {
    TempFolder folder;
    const auto file = folder / "language.ini";
    WriteBytes(file, "[ENGINSH]\nMAIN_CAPTION=Settings\n");
    TextTable table(file);
    EXPECT_TRUE(table.SwitchLanguage(1));
    EXPECT_EQ(table.Text(TextKey::MAIN_CAPTION), u"Settings");
    EXPECT_EQ(ReadBytes(file), "[ENGINSH]\nMAIN_CAPTION=Settings\n\n[language]\nlanguage=1\n");
}

TEST(TextTable, SwitchToAnyOtherValueMeansChinese) {
    TempFolder folder;
    const auto file = folder / "language.ini";
    WriteBytes(file, CompleteLanguageFile("language=1"));
    TextTable table(file);
    EXPECT_TRUE(table.SwitchLanguage(7));
    EXPECT_EQ(table.LanguageWord(), 0);
    EXPECT_EQ(table.GetLanguageValue(), 0);
    EXPECT_EQ(table.Text(TextKey::MAIN_CAPTION), u"中文 MAIN_CAPTION");
}

TEST(TextTable, UnwritableFileStillReloadsAndCaptionsFollowTheNewChoice) {
    TempFolder folder;
    // The file cannot be replaced: its path runs through a plain file.
    WriteBytes(folder / "Skins", "not a folder");
    TextTable table(folder / "Skins" / "language.ini");
    EXPECT_FALSE(table.SwitchLanguage(1));
    EXPECT_EQ(table.LanguageWord(), 1);
    EXPECT_EQ(table.TextLanguage(), Language::Chinese);
    EXPECT_EQ(table.CaptionLanguage(), Language::English);
    EXPECT_EQ(table.Text(TextKey::MAIN_CAPTION), u"");
}

TEST(TextTable, ReadersDuringASwitchSeeWholeTexts) {
    TempFolder folder;
    const auto file = folder / "language.ini";
    WriteBytes(file, CompleteLanguageFile("language=0"));
    TextTable table(file);
    table.LoadTexts();

    std::atomic<bool> switching{true};
    std::atomic<int> torn{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < 3; ++i) {
        readers.emplace_back([&] {
            do {
                const std::u16string text = table.Text(TextKey::MAIN_NO_DEVICE_PROMPT);
                if (text != u"中文 MAIN_NO_DEVICE_PROMPT" &&
                    text != u"English MAIN_NO_DEVICE_PROMPT") {
                    ++torn;
                }
                (void)table.CaptionLanguage();
            } while (switching.load());
        });
    }
    for (int i = 0; i < 40; ++i) {
        table.SwitchLanguage(i % 2);
    }
    switching = false;
    for (std::thread& reader : readers) {
        reader.join();
    }
    EXPECT_EQ(torn.load(), 0);
}

TEST(TextTable, MacroSpaceMessageIsTheSameInBothLanguages) {
    EXPECT_TRUE(kMacroSpaceMessage.starts_with(u"Macro space exceeds the hardware space.\r\n"));
    EXPECT_EQ(
        kMacroSpaceMessage.substr(41),
        u" Please reduce the number of macros or macro action number\uFF0Cand then download.");
    EXPECT_FALSE(FindTextKey("MACRO_SPACE").has_value());
}

TEST(TextTable, LanguageFileLiesInTheSkinsFolder) {
    EXPECT_EQ(LanguageFilePath("/opt/korvel"),
              std::filesystem::path("/opt/korvel/Skins/language.ini"));
}

TEST(TextKeys, NamesAreUniqueAndFoundWithoutRegardToCase) {
    for (const TextKeyInfo& info : TextKeyTable()) {
        EXPECT_EQ(FindTextKey(info.name), info.key) << info.name;
        EXPECT_EQ(&InfoOf(info.key), &info);
        EXPECT_LT(info.builtIn.size(), kTextCapacity) << info.name;
    }
    EXPECT_EQ(FindTextKey("media_next_track_5"), TextKey::MEDIA_Next_TRACK_5);
    EXPECT_EQ(MediaTextKeys().size(), 18u);
    EXPECT_EQ(FunctionKeyTextKeys().size(), 11u);
}

}  // namespace
}  // namespace korvel
