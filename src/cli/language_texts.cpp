#include "cli/language_texts.h"

#include <filesystem>
#include <memory>

#include "text/data_directory.h"
#include "text/text_table.h"

namespace korvel::cli {

TextLookup LanguageTexts() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path folder = program.parent_path();
    auto table =
        std::make_shared<TextTable>(LanguageFilePath(folder), LanguageChoiceFileOf(folder));
    table->LoadTexts();
    return [table](std::string_view key) { return table->Text(key); };
}

}  // namespace korvel::cli
