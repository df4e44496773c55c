#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <shared_mutex>
#include <string>
#include <string_view>

#include "text/text_keys.h"

namespace korvel {

class PrivateProfile;

enum class Language : std::uint8_t {
    Chinese = 0,
    English = 1,
};

// Sections of the language file; the English one is spelled this way in every language file.
inline constexpr std::u16string_view kChineseSection = u"CHINESE";
inline constexpr std::u16string_view kEnglishSection = u"ENGINSH";
std::u16string_view SectionOf(Language language);

// The language file of a program in `programDirectory`: Skins/language.ini in its data folder
// (DataDirectoryOf).
std::filesystem::path LanguageFilePath(const std::filesystem::path& programDirectory);

// Every user-visible text that is not drawn into a skin picture, in the language chosen by the
// language file's [LANGUAGE] language value (1: English, anything else: Chinese).
//
// The program creates one table at start-up and hands it to every window by reference. Until
// LoadTexts has run the table holds the built-in texts; afterwards it holds the file's texts, and
// a key the file lacks gives an empty text, never the built-in one.
//
// Threads: any thread may read texts while the user-interface thread loads or switches; a reader
// gets either the old or the new text, never a torn one.
class TextTable {
public:
    // With a `choiceFile`, the language choice is read from it (when it holds one) and written to
    // it, so that a language file the user cannot write still follows the user's choice.
    explicit TextTable(std::filesystem::path languageFile, std::filesystem::path choiceFile = {});
    TextTable(const TextTable&) = delete;
    TextTable& operator=(const TextTable&) = delete;

    const std::filesystem::path& LanguageFile() const { return m_languageFile; }

    // Replaces every text with the value of its key in the chosen language's section. The
    // two-character sequences \n and \r of a value become a line feed and a carriage return (a
    // value in an INI file cannot hold a line break); a text longer than kTextCapacity - 1 units is
    // cut. A missing file or section gives empty texts and nothing is reported.
    void LoadTexts();

    // The number at the start of [LANGUAGE] language, 0 when it is missing or not a number.
    int GetLanguageValue() const;

    // Remembers the choice (1: English, any other value: Chinese) in memory and in the language
    // file, then reloads the texts. Returns false when the file could not be written; the texts
    // are reloaded all the same and then follow the value the file still holds.
    bool SwitchLanguage(int language);

    // 0 at start; the last value given to SwitchLanguage.
    std::uint16_t LanguageWord() const { return m_languageWord.load(); }

    // The language of the table, the notification-area menu and the composite editor: the file's
    // value alone.
    Language TextLanguage() const;
    // The language of the main window's captions, its menu and the about box: English when the
    // file's value or the in-memory word says so, so that those follow a switch even when the file
    // could not be written.
    Language CaptionLanguage() const;

    std::u16string Text(TextKey key) const;
    // The text of a key of the table, by its name in the file; empty for any other name.
    std::u16string Text(std::string_view keyName) const;

    // A key read straight from the language file, as the windows read their captions (see
    // WindowTextKeys): the same default, the same \n and \r, cut to 259 units.
    std::u16string ReadText(std::string_view keyName, Language language) const;

private:
    int ChosenValue(const PrivateProfile& languageFile) const;
    // The language file as LoadTexts last parsed it, and the choice it read then; parsed on first
    // use when LoadTexts has not run yet. Lookups never read the file again.
    std::shared_ptr<const PrivateProfile> ParsedFile() const;

    std::filesystem::path m_languageFile;
    std::filesystem::path m_choiceFile;
    mutable std::shared_mutex m_mutex;
    std::array<std::u16string, kTextKeyCount> m_texts;
    mutable std::shared_ptr<const PrivateProfile> m_parsed;
    mutable int m_chosenValue = 0;
    std::atomic<std::uint16_t> m_languageWord{0};
};

}  // namespace korvel
