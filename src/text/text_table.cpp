#include "text/text_table.h"

#include <mutex>
#include <utility>

#include "base/text_encoding.h"
#include "text/data_directory.h"
#include "text/private_profile.h"

namespace korvel {

namespace {

constexpr std::u16string_view kLanguageSection = u"LANGUAGE";
constexpr std::u16string_view kLanguageKey = u"language";

std::u16string Widen(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

std::u16string ExpandLineBreaks(std::u16string_view value) {
    std::u16string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size() &&
            (value[i + 1] == u'n' || value[i + 1] == u'r')) {
            out.push_back(value[i + 1] == u'n' ? u'\n' : u'\r');
            ++i;
        } else {
            out.push_back(value[i]);
        }
    }
    return out;
}

int LanguageValueOf(const PrivateProfile& profile) {
    return LeadingInteger(profile.GetString(kLanguageSection, kLanguageKey));
}

Language LanguageOfValue(int value) {
    return value == 1 ? Language::English : Language::Chinese;
}

std::u16string ReadAndExpand(const PrivateProfile& profile, std::u16string_view section,
                             std::string_view key) {
    return ExpandLineBreaks(profile.GetString(section, Widen(key)));
}

}  // namespace

std::u16string_view SectionOf(Language language) {
    return language == Language::English ? kEnglishSection : kChineseSection;
}

std::filesystem::path LanguageFilePath(const std::filesystem::path& programDirectory) {
    return DataDirectoryOf(programDirectory) / "Skins" / "language.ini";
}

TextTable::TextTable(std::filesystem::path languageFile, std::filesystem::path choiceFile)
    : m_languageFile(std::move(languageFile)), m_choiceFile(std::move(choiceFile)) {
    for (const TextKeyInfo& info : TextKeyTable()) {
        m_texts[static_cast<std::size_t>(info.key)] = std::u16string(info.builtIn);
    }
}

void TextTable::LoadTexts() {
    auto parsed = std::make_shared<const PrivateProfile>(PrivateProfile::Load(m_languageFile));
    const PrivateProfile& profile = *parsed;
    const int chosen = ChosenValue(profile);
    const std::u16string_view section = SectionOf(LanguageOfValue(chosen));
    std::array<std::u16string, kTextKeyCount> texts;
    for (const TextKeyInfo& info : TextKeyTable()) {
        const std::u16string value = ReadAndExpand(profile, section, info.name);
        texts[static_cast<std::size_t>(info.key)] =
            std::u16string(CutToUnits(value, kTextCapacity - 1));
    }
    std::unique_lock lock(m_mutex);
    m_texts.swap(texts);
    m_parsed = std::move(parsed);
    m_chosenValue = chosen;
}

std::shared_ptr<const PrivateProfile> TextTable::ParsedFile() const {
    {
        std::shared_lock lock(m_mutex);
        if (m_parsed) {
            return m_parsed;
        }
    }
    auto parsed = std::make_shared<const PrivateProfile>(PrivateProfile::Load(m_languageFile));
    const int chosen = ChosenValue(*parsed);
    std::unique_lock lock(m_mutex);
    if (!m_parsed) {
        m_parsed = std::move(parsed);
        m_chosenValue = chosen;
    }
    return m_parsed;
}

int TextTable::ChosenValue(const PrivateProfile& languageFile) const {
    if (!m_choiceFile.empty()) {
        const PrivateProfile choice = PrivateProfile::Load(m_choiceFile);
        if (!choice.GetString(kLanguageSection, kLanguageKey).empty()) {
            return LanguageValueOf(choice);
        }
    }
    return LanguageValueOf(languageFile);
}

int TextTable::GetLanguageValue() const {
    ParsedFile();
    std::shared_lock lock(m_mutex);
    return m_chosenValue;
}

bool TextTable::SwitchLanguage(int language) {
    const std::uint16_t word = language == 1 ? 1 : 0;
    m_languageWord.store(word);
    const std::filesystem::path& target = m_choiceFile.empty() ? m_languageFile : m_choiceFile;
    if (!m_choiceFile.empty()) {
        std::error_code error;
        std::filesystem::create_directories(m_choiceFile.parent_path(), error);
    }
    const bool written =
        WriteProfileString(target, kLanguageKey, kLanguageKey, word == 1 ? u"1" : u"0");
    LoadTexts();
    return written;
}

Language TextTable::TextLanguage() const {
    return LanguageOfValue(GetLanguageValue());
}

Language TextTable::CaptionLanguage() const {
    return LanguageWord() == 1 ? Language::English : TextLanguage();
}

std::u16string TextTable::Text(TextKey key) const {
    const auto index = static_cast<std::size_t>(key);
    if (index >= m_texts.size()) {
        return {};
    }
    std::shared_lock lock(m_mutex);
    return m_texts[index];
}

std::u16string TextTable::Text(std::string_view keyName) const {
    const auto key = FindTextKey(keyName);
    return key ? Text(*key) : std::u16string();
}

std::u16string TextTable::ReadText(std::string_view keyName, Language language) const {
    return ReadAndExpand(*ParsedFile(), SectionOf(language), keyName);
}

}  // namespace korvel
