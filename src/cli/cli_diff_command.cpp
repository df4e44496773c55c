#include "cli/cli_diff_command.h"

#include <nlohmann/json.hpp>

#include "base/file_io.h"
#include "base/text_encoding.h"
#include "cli/keyboard_session.h"
#include "cli/language_texts.h"
#include "model/files/backup_folder.h"
#include "model/files/complete_backup.h"
#include "model/files/profile_file.h"
#include "model/files/profile_json.h"
#include "model/files/setup_compare.h"
#include "model/keys/key_codec.h"
#include "sync/keyboard_arrival.h"
#include "sync/keyboard_backup.h"

namespace korvel::cli {
namespace {

constexpr std::string_view kKeyboardSide = "keyboard";

// One side: the keyboard, a complete backup, a profile file or its JSON form, told apart by
// what the file holds. None after saying why.
std::optional<Setup> LoadSide(CommandContext& context, const std::string& side, KeyCodec& codec,
                              const std::u16string& newMacroPrefix) {
    if (side == kKeyboardSide) {
        KeyboardSession* keyboard = context.Keyboard();
        if (keyboard == nullptr) {
            context.Trouble({});
            return std::nullopt;
        }
        TakeKeyboardBasics(keyboard->Link(), codec);
        const std::optional<CompleteBackup> held = ReadCompleteBackup(keyboard->Link());
        if (!held) {
            context.Trouble("the keyboard could not be read");
            return std::nullopt;
        }
        return SetupOf(*held, codec.DefaultKeyTable(), newMacroPrefix);
    }
    const FileBytes read = ReadFileBytes(context.PathOf(side), kProfileFileSizeLimit - 1);
    if (read.status != FileReadStatus::Ok) {
        context.Trouble(EscapeControls(side) + ": " +
                        (read.status == FileReadStatus::Missing ? "there is no such file"
                                                                : "the file cannot be read"));
        return std::nullopt;
    }
    std::string profileBytes = read.bytes;
    if (IsJsonDocument(read.bytes)) {
        // A complete backup, or the JSON form of a profile file: told apart by their "format".
        std::string error;
        if (const auto backup = ParseCompleteBackup(read.bytes, error)) {
            return SetupOf(*backup, codec.DefaultKeyTable(), newMacroPrefix);
        }
        if (!error.starts_with("$.format:")) {
            context.Trouble(EscapeControls(side) + ": " + EscapeControls(error));
            return std::nullopt;
        }
        const auto file = ProfileFromJson(read.bytes, error);
        if (!file) {
            if (error.starts_with("$.format:")) {
                error =
                    "$.format: this is not a keyboard backup of Korvel, nor the JSON form of a "
                    "profile";
            }
            context.Trouble(EscapeControls(side) + ": " + EscapeControls(error));
            return std::nullopt;
        }
        profileBytes.assign(file->begin(), file->end());
    }
    ProfileReadError error = ProfileReadError::None;
    const auto bytes =
        std::span(reinterpret_cast<const std::uint8_t*>(profileBytes.data()), profileBytes.size());
    const std::optional<ProfileContents> contents = ParseProfileBytes(bytes, &error);
    if (!contents) {
        context.Trouble(EscapeControls(side) + ": not a profile file or a backup (" +
                        std::string(ProfileReadErrorReason(error)) + ")");
        return std::nullopt;
    }
    return SetupOf(*contents);
}

const char* KindName(SetupDifference::Kind kind) {
    switch (kind) {
        case SetupDifference::Kind::Key:
            return "key";
        case SetupDifference::Kind::Macro:
            return "macro";
        case SetupDifference::Kind::Lighting:
            return "lighting";
        case SetupDifference::Kind::ActiveProfile:
            return "active-profile";
    }
    return "";
}

}  // namespace

int RunDiff(CommandContext& context) {
    const CommandArguments& arguments = context.Arguments();
    const TextLookup texts = LanguageTexts();
    const std::u16string prefix = LocalisedOr(texts, "MACRO_NEW_PREFIX", u"Macro");
    // The keyboard's own default table decodes both sides alike, once it has been read.
    KeyCodec codec;
    LocaliseKeyNames(codec, texts);
    const bool keyboardFirst = arguments.second == kKeyboardSide;
    std::optional<Setup> second;
    if (keyboardFirst) {
        second = LoadSide(context, arguments.second, codec, prefix);
        if (!second) {
            return context.Finish(kExitUsage);
        }
    }
    const std::optional<Setup> first = LoadSide(context, arguments.file, codec, prefix);
    if (!first) {
        return context.Finish(kExitUsage);
    }
    if (!keyboardFirst) {
        second = LoadSide(context, arguments.second, codec, prefix);
        if (!second) {
            return context.Finish(kExitUsage);
        }
    }
    const std::vector<SetupDifference> differences =
        CompareSetups(*first, *second, codec, LocalisedTipTexts(texts));

    std::ostream& out = context.Out();
    if (arguments.json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const SetupDifference& d : differences) {
            nlohmann::ordered_json item = {{"kind", KindName(d.kind)}};
            if (d.profile >= 0) {
                item["profile"] = d.profile + 1;
            }
            item["where"] = d.where;
            item["a"] = d.first;
            item["b"] = d.second;
            list.push_back(std::move(item));
        }
        out << nlohmann::ordered_json{{"same", differences.empty()}, {"differences", list}}.dump(
                   -1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
            << '\n';
    } else {
        for (const SetupDifference& d : differences) {
            out << EscapeControls(d.where) << "\n  - " << EscapeControls(d.first) << "\n  + "
                << EscapeControls(d.second) << '\n';
        }
    }
    return context.Finish(differences.empty() ? kExitOk : kExitFailed);
}

}  // namespace korvel::cli
