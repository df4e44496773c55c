#include "cli/cli_file_commands.h"

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/text_encoding.h"
#include "cli/cli_backup_commands.h"
#include "cli/console_prompts.h"
#include "cli/keyboard_session.h"
#include "cli/language_texts.h"
#include "device/command_set.h"
#include "device/result_codes.h"
#include "model/files/backup_folder.h"
#include "model/files/profile_file.h"
#include "model/files/profile_json.h"
#include "model/files/profile_locations.h"
#include "model/keys/key_names.h"
#include "model/keys/key_table_codec.h"
#include "model/macros/macro_blob.h"
#include "sync/device_backup.h"
#include "sync/download_check.h"
#include "sync/hardware_download.h"
#include "sync/keyboard_arrival.h"
#include "sync/profile_transfer.h"
#include "text/data_directory.h"
#include "text/text_table.h"

namespace korvel::cli {
namespace {

// Console prompts that remember whether they said anything, so that a command adds its own
// message only where the core stayed silent.
class CountingPrompts : public Prompts {
public:
    explicit CountingPrompts(std::ostream& err) : m_console(err, nullptr) {}
    void ShowMessage(std::u16string_view text, MessageKind kind) override {
        ++m_shown;
        m_console.ShowMessage(text, kind);
    }
    Answer AskYesNo(std::u16string_view text, Answer defaultAnswer) override {
        ++m_shown;
        return m_console.AskYesNo(text, defaultAnswer);
    }
    int Shown() const { return m_shown; }

private:
    ConsolePrompts m_console;
    int m_shown = 0;
};

std::string Hex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t b : bytes) {
        text.push_back(kDigits[b >> 4]);
        text.push_back(kDigits[b & 0x0F]);
    }
    return text;
}

std::string HexNumber(unsigned value, int width) {
    std::ostringstream out;
    out << "0x" << std::hex;
    out.width(width);
    out.fill('0');
    out << value;
    return out.str();
}

// What is wrong with a file a read refused; for a JSON form, where its mistake is.
std::string ReadErrorText(const std::string& file, ProfileReadError error,
                          const std::string& detail = {}) {
    return EscapeControls(file) + ": " +
           (detail.empty() ? std::string(ProfileReadErrorReason(error)) : EscapeControls(detail));
}

// What the window does when the keyboard arrives; a keyboard whose information block cannot be
// read fails the command.
// The opened keyboard, its default key table taken into keyCodec and its capacity into the link;
// null once the failure was said (and the command finished), so the caller returns kExitFailed.
KeyboardSession* OpenKeyboard(CommandContext& context, KeyCodec& keyCodec) {
    KeyboardSession* keyboard = context.Keyboard();
    if (keyboard == nullptr) {
        return nullptr;
    }
    if (const int result = korvel::TakeKeyboardBasics(keyboard->Link(), keyCodec).infoResult;
        result != DEV_OK) {
        context.Finish(context.Fail(kExitFailed,
                                    "the keyboard's information block could not be read (result " +
                                        std::to_string(result) + ")"));
        return nullptr;
    }
    return keyboard;
}

std::string KeyName(const KeyCodec& keyCodec, int slot) {
    return EscapeControls(Utf16ToUtf8(SlotLabel(keyCodec, slot)));
}

void DumpText(std::ostream& out, const ProfileContents& contents, const KeyCodec& keyCodec) {
    const ConfigHeader& h = contents.image->header;
    out << "header: magic " << HexNumber(h.magic, 4) << ", headerLength " << h.headerLength
        << ", formatCode " << h.formatCode << ", formatVersion " << h.formatVersion
        << ", totalBytes " << h.totalBytes << ", entryCount " << h.entryCount << ", macroCount "
        << h.macroCount << ", stringPoolBytes " << h.stringPoolBytes << ", reservedFlag "
        << int(h.reservedFlag) << ", checksum " << HexNumber(h.checksum, 2)
        << (ProfileHeaderValid(h) ? " (valid)" : " (invalid)") << '\n';
    for (int block = 0; block < kProfileBlocks; ++block) {
        out << "block " << block
            << (block < kOnboardProfiles ? " (onboard profile " + std::to_string(block + 1) + ")"
                                         : std::string(" (not sent to the keyboard)"))
            << ":\n";
        for (int slot = 0; slot < kBlockSlots; ++slot) {
            const KeyEntry& e =
                contents.image
                    ->blocks[static_cast<std::size_t>(block)][static_cast<std::size_t>(slot)];
            if (e.type == 0 && e.value == 0) {
                continue;
            }
            out << "  slot " << HexNumber(static_cast<unsigned>(slot), 3) << ' '
                << KeyName(keyCodec, slot) << ": type " << e.type << ", aux " << e.aux << ", value "
                << e.value << '\n';
        }
    }
    for (const MacroRecord& m : contents.macros) {
        out << "macro " << m.macroId << " \"" << EscapeControls(Utf16ToUtf8(m.name))
            << "\", loopCount " << int(m.loopCount) << ", " << m.actions.size() << " actions\n";
        for (const MacroAction& a : m.actions) {
            out << "  " << EscapeControls(Utf16ToUtf8(keyCodec.KeyNameOf(a.key))) << ' '
                << (a.direction == kMacroPress ? "press" : "release") << ", then " << a.delayMs
                << " ms\n";
        }
    }
    for (int k = 0; k < kConfigEntries; ++k) {
        if (const std::u16string* text = contents.strings.Text(k)) {
            out << "string of entry " << k << ": \"" << EscapeControls(Utf16ToUtf8(*text))
                << "\"\n";
        }
    }
}

// The JSON dump, written as it goes: a file at the format's limits holds 200,000 macro actions,
// and a document built whole first costs many times the memory and time of the text dump. Each
// piece is one small ordered object, so the keys come out in the order of the contract.
void DumpJson(std::ostream& out, const ProfileContents& contents, const KeyCodec& keyCodec) {
    using Json = nlohmann::ordered_json;
    const auto put = [&out](const Json& piece) {
        out << piece.dump(-1, ' ', false, Json::error_handler_t::replace);
    };
    const ConfigHeader& h = contents.image->header;
    out << "{\"header\":";
    put({{"magic", h.magic},
         {"headerLength", h.headerLength},
         {"formatCode", h.formatCode},
         {"formatVersion", h.formatVersion},
         {"totalBytes", h.totalBytes},
         {"entryCount", h.entryCount},
         {"macroCount", h.macroCount},
         {"stringPoolBytes", h.stringPoolBytes},
         {"reservedFlag", h.reservedFlag},
         {"checksum", h.checksum},
         {"valid", ProfileHeaderValid(h)}});
    out << ",\"profiles\":[";
    for (int block = 0; block < kProfileBlocks; ++block) {
        out << (block == 0 ? "[" : ",[");
        bool first = true;
        for (int slot = 0; slot < kBlockSlots; ++slot) {
            const KeyEntry& e =
                contents.image
                    ->blocks[static_cast<std::size_t>(block)][static_cast<std::size_t>(slot)];
            if (e.type == 0 && e.value == 0) {
                continue;
            }
            out << (first ? "" : ",");
            first = false;
            put({{"slot", slot},
                 {"name", KeyName(keyCodec, slot)},
                 {"type", e.type},
                 {"aux", e.aux},
                 {"value", e.value}});
        }
        out << ']';
    }
    out << "],\"macros\":[";
    for (std::size_t m = 0; m < contents.macros.size(); ++m) {
        const MacroRecord& macro = contents.macros[m];
        out << (m == 0 ? "" : ",") << "{\"id\":" << macro.macroId << ",\"name\":";
        put(Utf16ToUtf8(macro.name));
        out << ",\"loopCount\":" << int{macro.loopCount} << ",\"actions\":[";
        for (std::size_t i = 0; i < macro.actions.size(); ++i) {
            const MacroAction& a = macro.actions[i];
            out << (i == 0 ? "{\"delayMs\":" : ",{\"delayMs\":") << a.delayMs
                << ",\"key\":" << a.key << ",\"direction\":" << a.direction << '}';
        }
        out << "]}";
    }
    out << "],\"strings\":[";
    bool first = true;
    for (int k = 0; k < kConfigEntries; ++k) {
        if (const std::u16string* text = contents.strings.Text(k)) {
            out << (first ? "" : ",");
            first = false;
            put({{"entry", k}, {"text", Utf16ToUtf8(*text)}});
        }
    }
    out << "]}\n";
}

// The export in the JSON form: the bytes a profile file would hold, in their JSON form.
FileWriteResult ExportJson(ConfigStore& store, const std::filesystem::path& file) {
    std::vector<std::uint8_t> bytes;
    {
        auto lock = store.EditingConfig().Lock();
        bytes = SerializeEditingConfig(store.EditingConfig());
    }
    std::string error;
    const std::optional<std::string> text = ProfileToJson(bytes, error);
    if (!text) {
        return {FileWriteResult::Status::Failed, std::make_error_code(std::errc::invalid_argument)};
    }
    return ReplaceFile(file, *text);
}

// Loads FILE into a fresh EditingConfig as the window's load does; a message and false when the
// file cannot be used.
bool LoadInto(CommandContext& context, ConfigStore& store, const std::string& file) {
    ProfileReadError error = ProfileReadError::None;
    std::string detail;
    auto contents = ReadProfileFile(context.PathOf(file), &error, nullptr, &detail);
    if (!contents) {
        context.Fail(kExitFailed, ReadErrorText(file, error, detail));
        return false;
    }
    PlaceProfileContents(store, std::move(*contents));
    return true;
}

}  // namespace

int RunValidate(CommandContext& context) {
    const std::string& file = context.Arguments().file;
    CountingPrompts prompts(context.Err());
    // The import's own check and read, in one pass over the file.
    ProfileReadError readError = ProfileReadError::None;
    std::string detail;
    if (ReadImportableProfile(file, prompts, LanguageTexts(), &readError, &detail)) {
        context.Out() << "valid\n";
        return kExitOk;
    }
    if (prompts.Shown() > 0) {
        return kExitFailed;
    }
    std::error_code error;
    if (readError == ProfileReadError::Short &&
        std::filesystem::file_size(file, error) < kConfigImageBytes && !error) {
        return context.Fail(kExitFailed,
                            file + ": not a profile file (" +
                                std::to_string(std::filesystem::file_size(file, error)) +
                                " bytes; a profile file has at least 32832)");
    }
    return context.Fail(kExitFailed, ReadErrorText(file, readError, detail));
}

int RunDump(CommandContext& context) {
    const std::string& file = context.Arguments().file;
    ProfileReadError error = ProfileReadError::None;
    std::string detail;
    const auto contents = ReadProfileFile(file, &error, nullptr, &detail);
    if (!contents) {
        return context.Fail(kExitFailed, ReadErrorText(file, error, detail));
    }
    KeyCodec keyCodec;
    LocaliseKeyNames(keyCodec, LanguageTexts());
    if (context.Arguments().json) {
        DumpJson(context.Out(), *contents, keyCodec);
    } else {
        DumpText(context.Out(), *contents, keyCodec);
    }
    return kExitOk;
}

int RunEncode(CommandContext& context) {
    const int profile = context.Arguments().profile - 1;
    ConfigStore store;
    if (!LoadInto(context, store, context.Arguments().file)) {
        return kExitFailed;
    }
    KeyCodec keyCodec;
    // The keyboard's own default table when there is a keyboard: a real one only if it answers.
    if (context.Options().simulate) {
        KeyboardSession* keyboard = context.Keyboard();
        if (keyboard == nullptr) {
            return kExitFailed;
        }
        KeyTableBytes table{};
        if (DevReadDefaultKeyTable(keyboard->Link(), table) != DEV_OK) {
            return context.Finish(
                context.Fail(kExitFailed, "the keyboard's default key table could not be read"));
        }
        keyCodec.ReplaceDefaultKeyTable(table);
    } else {
        if (KeyboardSession* keyboard = context.KeyboardIfPresent()) {
            KeyTableBytes table{};
            if (DevReadDefaultKeyTable(keyboard->Link(), table) == DEV_OK) {
                keyCodec.ReplaceDefaultKeyTable(table);
            }
        }
    }
    EditingHolder& editing = store.EditingConfig();
    auto lock = editing.Lock();
    const KeyTableBytes table = EncodeKeyTable(
        editing.Image()->blocks[static_cast<std::size_t>(profile)], keyCodec.DefaultKeyTable(),
        [&editing](std::uint16_t id) { return MacroIndexById(editing, id); });
    context.Out() << Hex(table) << '\n';
    return context.Finish(kExitOk);
}

int RunBlob(CommandContext& context) {
    const std::uint32_t capacity = context.Arguments().capacity;
    ConfigStore store;
    if (!LoadInto(context, store, context.Arguments().file)) {
        return kExitFailed;
    }
    const BlobForm form = ChooseBlobForm(store.EditingConfig(), capacity);
    if (form.outcome == BlobFormOutcome::Refused) {
        context.Err() << EscapeControls(Utf16ToUtf8(LocalisedOr(LanguageTexts(), form.messageKey,
                                                                form.message)),
                                        true)
                      << '\n';
        return kExitFailed;
    }
    const auto blob = BuildMacroBlob(store.EditingConfig(), form.size, form.withNames);
    if (!blob) {
        return context.Fail(kExitFailed, "the macro area could not be built");
    }
    context.Out() << Hex(*blob) << "\nnames: " << (form.withNames ? "yes" : "no") << '\n';
    return kExitOk;
}

int RunImport(CommandContext& context) {
    const std::string& file = context.Arguments().file;
    const DocumentsFolder found = context.Documents();
    if (found.path.empty()) {
        return context.Fail(kExitFailed, found.error);
    }
    const std::filesystem::path& documents = found.path;
    KeyCodec keyCodec;
    KeyboardSession* keyboard = OpenKeyboard(context, keyCodec);
    if (keyboard == nullptr) {
        return kExitFailed;
    }
    DeviceLink& link = keyboard->Link();
    const TextLookup texts = LanguageTexts();
    // What the keyboard holds is kept before a file that can be imported replaces it; a file that
    // cannot be is refused below without a backup taking a place among the kept ones.
    if (!context.Arguments().noBackup) {
        std::ostringstream unsaid;
        ConsolePrompts silent(unsaid, nullptr);
        if (ReadImportableProfile(context.PathOf(file), silent, texts) &&
            !BackUpBefore(context, link, kBackupBeforeImport)) {
            return context.Finish(kExitFailed);
        }
    }
    ConfigStore store;
    CreateDefaultConfig(store, {}, 0, true);
    CountingPrompts prompts(context.Err());
    DownloadParts parts{store, link, keyCodec, prompts, texts};
    parts.verify = !context.Arguments().noVerify;
    DownloadReport sent;
    const ImportResult result =
        ImportAndDownload(parts, documents, context.PathOf(file), &sent, file);
    if (result.outcome == ImportOutcome::Refused) {
        return context.Finish(kExitFailed);
    }
    if (result.outcome == ImportOutcome::NoRoom) {
        return context.Finish(
            context.Fail(kExitFailed, "nothing was sent and the working file was not changed"));
    }
    if (result.outcome == ImportOutcome::DownloadFailed) {
        return context.Finish(context.Fail(
            kExitFailed, sent.sent ? "the keyboard did not take the configuration (result " +
                                         std::to_string(sent.lastKeyTableResult) + ")"
                                   : std::string("nothing was sent to the keyboard")));
    }
    context.Out() << "macro area: " << sent.macroAreaBytes << " bytes"
                  << (sent.withNames ? "" : " (without names)")
                  << "\nprofiles written: " << sent.profilesWritten << "\nworking file: ";
    switch (result.workingFile) {
        case WorkingFileState::Saved:
            context.Out() << "saved\n";
            break;
        case WorkingFileState::Absent:
            context.Out() << "not present, not saved\n";
            break;
        case WorkingFileState::Failed:
            // The keyboard took the profiles: only the program's copy of them is behind.
            context.Out() << "not saved\n";
            return context.Finish(context.Fail(
                kExitFailed,
                Utf16ToUtf8(FileWriteFailedText(LanguageTexts(), WorkingFile(documents),
                                                result.workingFileWrite)) +
                    "\nthe keyboard was updated: it holds the imported profiles; only the working "
                    "file still holds the earlier ones. Make room in (or write access to) its "
                    "folder, then run the import again or start korvel, which saves what the "
                    "keyboard holds"));
    }
    if (sent.check && !sent.check->Holds()) {
        return context.Finish(context.Fail(
            kExitFailed, DescribeFailedCheck(*sent.check) +
                             "\nrun the import again; should the same bytes differ again, the "
                             "keyboard's memory may be failing"));
    }
    return context.Finish(kExitOk);
}

int RunVerify(CommandContext& context) {
    const std::string& file = context.Arguments().file;
    ConfigStore store;
    if (!LoadInto(context, store, file)) {
        return kExitFailed;
    }
    KeyCodec keyCodec;
    KeyboardSession* keyboard = OpenKeyboard(context, keyCodec);
    if (keyboard == nullptr) {
        return kExitFailed;
    }
    // What an import of the file would send, compared with what the keyboard holds.
    if (!StageConfig(store)) {
        return context.Finish(context.Fail(kExitFailed, "not enough memory to compare the file"));
    }
    CountingPrompts prompts(context.Err());
    DownloadParts parts{store, keyboard->Link(), keyCodec, prompts, LanguageTexts()};
    const std::optional<DownloadPlan> plan = PlanDownload(parts, true);
    if (!plan) {
        return context.Finish(kExitFailed);
    }
    const DownloadCheck check = CheckDownload(keyboard->Link(), *plan, keyCodec);
    if (!check.Holds()) {
        return context.Finish(context.Fail(kExitFailed, DescribeFailedCheck(check)));
    }
    context.Out() << "the keyboard holds the file's key tables and macros\n";
    return context.Finish(kExitOk);
}

int RunBackup(CommandContext& context) {
    if (context.Arguments().complete) {
        return RunCompleteBackup(context);
    }
    const std::string& file = context.Arguments().file;
    KeyCodec keyCodec;
    KeyboardSession* keyboard = OpenKeyboard(context, keyCodec);
    if (keyboard == nullptr) {
        return kExitFailed;
    }
    const BackupResult backup =
        BackupDeviceToFile(keyboard->Link(), keyCodec, LanguageTexts(), context.PathOf(file));
    if (backup.outcome == BackupOutcome::ReadFailed) {
        return context.Finish(context.Fail(
            kExitFailed,
            "the keyboard's configuration could not be read; " + file + " was not changed"));
    }
    if (backup.outcome == BackupOutcome::WriteFailed) {
        return context.Finish(context.Fail(
            kExitFailed, Utf16ToUtf8(FileWriteFailedText(LanguageTexts(), file, backup.write))));
    }
    return context.Finish(kExitOk);
}

int RunExport(CommandContext& context) {
    const std::string& file = context.Arguments().file;
    const DocumentsFolder found = context.Documents();
    if (found.path.empty()) {
        return context.Fail(kExitFailed, found.error);
    }
    const std::filesystem::path& documents = found.path;
    KeyCodec keyCodec;
    KeyboardSession* keyboard = OpenKeyboard(context, keyCodec);
    if (keyboard == nullptr) {
        return kExitFailed;
    }
    ConfigStore store;
    CreateDefaultConfig(store, {}, 0, true);
    FileWriteResult workingFileWrite;
    const ReloadOutcome reload = ReloadFromDevice(store, keyboard->Link(), keyCodec,
                                                  LanguageTexts(), documents, &workingFileWrite);
    if (reload == ReloadOutcome::Defaults) {
        return context.Finish(context.Fail(
            kExitFailed, "the keyboard's configuration could not be read; nothing was written"));
    }
    if (reload == ReloadOutcome::FromKeyboardUnsaved) {
        return context.Finish(context.Fail(
            kExitFailed, Utf16ToUtf8(FileWriteFailedText(LanguageTexts(), WorkingFile(documents),
                                                         workingFileWrite)) +
                             "\nnothing was exported"));
    }
    if (const FileWriteResult written = context.Arguments().json
                                            ? ExportJson(store, context.PathOf(file))
                                            : ExportProfileFile(store, context.PathOf(file));
        !written) {
        return context.Finish(context.Fail(
            kExitFailed, Utf16ToUtf8(FileWriteFailedText(LanguageTexts(), file, written))));
    }
    return context.Finish(kExitOk);
}

}  // namespace korvel::cli
