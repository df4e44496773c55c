// Checks the language file that ships with the program, read from the source tree.
#include <string>

#include <gtest/gtest.h>

#include "base/text_encoding.h"
#include "support/temp_folder.h"
#include "text/private_profile.h"
#include "text/text_keys.h"
#include "text/text_table.h"

namespace korvel {
namespace {

// Named by the build: __FILE__ may be relative to the source folder (-ffile-prefix-map, as
// distributions build), and the tests run in the build folder.
std::filesystem::path ShippedLanguageFilePath() {
    return KORVEL_LANGUAGE_FILE;
}

std::u16string Widen(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

std::u16string Trimmed(std::u16string_view text) {
    while (!text.empty() && text.front() == u' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == u' ') {
        text.remove_suffix(1);
    }
    return std::u16string(text);
}

class ShippedLanguageFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_profile = PrivateProfile::Load(ShippedLanguageFilePath());
        ASSERT_EQ(m_profile.Status(), FileReadStatus::Ok) << ShippedLanguageFilePath();
    }

    bool Has(std::u16string_view section, std::string_view key) const {
        // A key that is present reads back the same with two different defaults.
        return m_profile.GetString(section, Widen(key), u"\x01") ==
               m_profile.GetString(section, Widen(key), u"\x02");
    }

    PrivateProfile m_profile;
};

TEST_F(ShippedLanguageFile, IsUtf8) {
    EXPECT_EQ(m_profile.Encoding(), TextEncoding::Utf8);
}

TEST_F(ShippedLanguageFile, BothSectionsHoldEveryKeyOfTheTableAndOfTheWindows) {
    for (const std::u16string_view section : {kChineseSection, kEnglishSection}) {
        for (const TextKeyInfo& info : TextKeyTable()) {
            EXPECT_TRUE(Has(section, info.name)) << info.name;
        }
        for (const std::string_view key : WindowTextKeys()) {
            EXPECT_TRUE(Has(section, key)) << key;
        }
    }
}

TEST_F(ShippedLanguageFile, EveryTextFitsWithoutBeingCut) {
    for (const std::u16string_view section : {kChineseSection, kEnglishSection}) {
        for (const TextKeyInfo& info : TextKeyTable()) {
            EXPECT_LE(m_profile.GetString(section, Widen(info.name)).size(), kTextCapacity - 1)
                << info.name;
        }
    }
}

TEST_F(ShippedLanguageFile, OnlyTheVersionLabelIsLeftEmpty) {
    for (const std::u16string_view section : {kChineseSection, kEnglishSection}) {
        for (const TextKeyInfo& info : TextKeyTable()) {
            EXPECT_EQ(m_profile.GetString(section, Widen(info.name)).empty(),
                      info.key == TextKey::MAIN_BUTTON_VELMARO_VER)
                << info.name;
        }
        for (const std::string_view key : WindowTextKeys()) {
            EXPECT_FALSE(m_profile.GetString(section, Widen(key)).empty()) << key;
        }
    }
}

// The English texts read as a person writes: none shouts ("!") or asks "whether", and the tip of
// a key reads "A: sends B".
TEST_F(ShippedLanguageFile, EnglishTextsReadAsAPersonWrites) {
    // Read through a copy switched to English, whatever the shipped file has chosen.
    fixtures::TempFolder folder;
    std::filesystem::copy_file(ShippedLanguageFilePath(), folder / "language.ini");
    TextTable english(folder / "language.ini");
    ASSERT_TRUE(english.SwitchLanguage(1));
    for (const TextKeyInfo& info : TextKeyTable()) {
        const std::u16string text = english.Text(info.key);
        EXPECT_FALSE(Trimmed(text).ends_with(u'!')) << info.name;
        EXPECT_EQ(text.find(u"Whether"), std::u16string::npos) << info.name;
    }
    EXPECT_EQ(u"A" + english.Text(TextKey::KEY_PROMPT_SET) +
                  english.Text(TextKey::KEY_PROMPT_SINGLE) + u"B" +
                  english.ReadText("KEY_PROMPT_CLOSE", Language::English),
              u"A: sends B");
}

TEST_F(ShippedLanguageFile, TextsWithATrailingBlankKeepIt) {
    // These are followed directly by another text when shown.
    EXPECT_EQ(m_profile.GetString(kEnglishSection, u"KEY_PROMPT_SET"), u": ");
    EXPECT_EQ(m_profile.GetString(kEnglishSection, u"KEY_PROMPT_SINGLE"), u"sends ");
    EXPECT_EQ(m_profile.GetString(kEnglishSection, u"PROFILE_TIP"), u"Active profile: ");
    EXPECT_EQ(m_profile.GetString(kChineseSection, u"KEY_PROMPT_SINGLE"), u"发送 ");
}

}  // namespace
}  // namespace korvel
