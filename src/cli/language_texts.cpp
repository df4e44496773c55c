#include "cli/language_texts.h"

#include <filesystem>
#include <memory>

#include "model/keys/key_codec.h"
#include "model/keys/key_codes.h"
#include "text/data_directory.h"
#include "text/text_table.h"

namespace korvel::cli {

namespace {

std::shared_ptr<TextTable> ProgramTexts() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path folder = program.parent_path();
    auto table =
        std::make_shared<TextTable>(LanguageFilePath(folder), LanguageChoiceFileOf(folder));
    table->LoadTexts();
    return table;
}

}  // namespace

TextLookup LanguageTexts() {
    auto table = ProgramTexts();
    return [table](std::string_view key) { return table->Text(key); };
}

TextLookup EnglishTexts() {
    auto table = ProgramTexts();
    return [table](std::string_view key) { return table->ReadText(key, Language::English); };
}

KeyTipTexts LocalisedTipTexts(const TextLookup& texts) {
    KeyTipTexts tips;
    tips.set = LocalisedOr(texts, "KEY_PROMPT_SET", tips.set);
    tips.single = LocalisedOr(texts, "KEY_PROMPT_SINGLE", tips.single);
    tips.macro = LocalisedOr(texts, "KEY_PROMPT_MACRO", tips.macro);
    tips.media = LocalisedOr(texts, "KEY_PROMPT_MEDIA", tips.media);
    tips.function = LocalisedOr(texts, "KEY_PROMPT_FUNCTION", tips.function);
    tips.close = texts("KEY_PROMPT_CLOSE");
    return tips;
}

void LocaliseKeyNames(KeyCodec& codec, const TextLookup& texts) {
    KeyTexts names = codec.Texts();
    for (int i = 0; i < kMediaKeys; ++i) {
        names.mediaNames[static_cast<std::size_t>(i)] =
            LocalisedOr(texts, MediaKeyTable()[static_cast<std::size_t>(i)].languageKey,
                        names.mediaNames[static_cast<std::size_t>(i)]);
    }
    names.unknownKey = LocalisedOr(texts, "UNKNOWN_KEY", names.unknownKey);
    codec.SetTexts(std::move(names));
}

}  // namespace korvel::cli
