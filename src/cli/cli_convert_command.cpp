#include "cli/cli_convert_command.h"

#include "base/file_io.h"
#include "base/text_encoding.h"
#include "cli/language_texts.h"
#include "model/files/profile_file.h"
#include "model/files/profile_json.h"
#include "sync/profile_transfer.h"

namespace korvel::cli {

int RunConvert(CommandContext& context) {
    const CommandArguments& arguments = context.Arguments();
    const FileBytes read = ReadFileBytes(context.PathOf(arguments.file), kProfileFileSizeLimit - 1);
    if (read.status != FileReadStatus::Ok) {
        return context.Fail(
            kExitFailed, EscapeControls(arguments.file) + ": " +
                             (read.status == FileReadStatus::Missing ? "there is no such file"
                                                                     : "the file cannot be read"));
    }
    std::string error;
    std::string converted;
    if (IsJsonDocument(read.bytes)) {
        const auto file = ProfileFromJson(read.bytes, error);
        if (file) {
            converted.assign(file->begin(), file->end());
        }
    } else {
        const auto bytes =
            std::span(reinterpret_cast<const std::uint8_t*>(read.bytes.data()), read.bytes.size());
        if (auto text = ProfileToJson(bytes, error)) {
            converted = std::move(*text);
        } else {
            error = "not a profile file the import takes (" + error + ")";
        }
    }
    if (!error.empty()) {
        return context.Fail(kExitFailed,
                            EscapeControls(arguments.file) + ": " + EscapeControls(error));
    }
    if (const FileWriteResult written = ReplaceFile(context.PathOf(arguments.second), converted);
        !written) {
        return context.Fail(kExitFailed, Utf16ToUtf8(FileWriteFailedText(
                                             LanguageTexts(), arguments.second, written)));
    }
    return kExitOk;
}

}  // namespace korvel::cli
