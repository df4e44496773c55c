// Checks the language file that ships with the program, read from the source tree.
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "base/text_encoding.h"
#include "support/temp_folder.h"
#include "text/private_profile.h"
#include "text/text_keys.h"
#include "text/text_table.h"

namespace korvel {
namespace {

std::filesystem::path ShippedLanguageFilePath() {
    return std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "resources" /
           "language.ini";
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

// The English texts are the program's own wording, except where that was a placeholder, a slip
// of the pen, or (for the update dialog) Chinese.
TEST_F(ShippedLanguageFile, EnglishTextsKeepTheBuiltInWording) {
    const std::set<TextKey> reworded{
        TextKey::MACRO_KEYS_TISHI,
        TextKey::MACRO_ACTION_TISHI,
        TextKey::MACRO_DELAY_MS,
        TextKey::MEDIA_PALYER_1,
        TextKey::MEDIA_PALY_PAUSE_2,
        TextKey::MEDIA_STOP_PALY_3,
        TextKey::MEDIA_PREV_TRACK_4,
        TextKey::MEDIA_Next_TRACK_5,
        TextKey::MEDIA_V_LOW_6,
        TextKey::MEDIA_V_ADD_7,
        TextKey::MEDIA_MUTE_8,
        TextKey::MEDIA_WWW_HOME_9,
        TextKey::MEDIA_WWW_REFRESH_10,
        TextKey::MEDIA_WWW_STOP_11,
        TextKey::MEDIA_WWW_BACK_12,
        TextKey::MEDIA_WWW_FORWARD_13,
        TextKey::MEDIA_WWW_FAVORITE_14,
        TextKey::MEDIA_WWW_SEARCH_15,
        TextKey::MEDIA_MY_PC_16,
        TextKey::MEDIA_CALC_17,
        TextKey::MEDIA_MAIL_18,
        TextKey::PROFILE_NEW,
        TextKey::PROFILE_TIP,
        TextKey::MAIN_NO_DEVICE_PROMPT,
        TextKey::MAIN_UPDATE_ERROR_TEXT,
        TextKey::MAIN_BOOT_ERROR_TEXT,
        TextKey::MAIN_SHELL_ERROR_TEXT,
        TextKey::MAIN_UPDATE_BACKUP_OK,
        TextKey::MAIN_UPDATE_BACKUP_NG,
    };
    // Read through a copy switched to English, whatever the shipped file has chosen.
    fixtures::TempFolder folder;
    std::filesystem::copy_file(ShippedLanguageFilePath(), folder / "language.ini");
    TextTable english(folder / "language.ini");
    ASSERT_TRUE(english.SwitchLanguage(1));
    for (const TextKeyInfo& info : TextKeyTable()) {
        // Edge blanks survive only where the file quotes the value.
        const std::u16string text = english.Text(info.key);
        const bool builtInWording = text == info.builtIn || text == Trimmed(info.builtIn);
        EXPECT_EQ(builtInWording, !reworded.contains(info.key)) << info.name;
    }
}

TEST_F(ShippedLanguageFile, TextsWithATrailingBlankKeepIt) {
    // These are followed directly by another text when shown.
    EXPECT_EQ(m_profile.GetString(kEnglishSection, u"KEY_PROMPT_SET"), u"Keys, Set: ");
    EXPECT_EQ(m_profile.GetString(kEnglishSection, u"PROFILE_TIP"),
              u"The current contextual mode: ");
    EXPECT_EQ(m_profile.GetString(kChineseSection, u"KEY_PROMPT_SET"), u"按键设置：");
}

}  // namespace
}  // namespace korvel
