#include "cli/cli_backup_commands.h"

#include "base/text_encoding.h"
#include "cli/keyboard_session.h"
#include "model/files/backup_folder.h"
#include "model/keys/key_codec.h"
#include "sync/keyboard_arrival.h"
#include "sync/keyboard_backup.h"

namespace korvel::cli {
namespace {

// A file as the user finds it, wherever the command ran.
std::string Shown(const std::filesystem::path& file) {
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(file, ignored);
    return EscapeControls((absolute.empty() ? file : absolute).string());
}

}  // namespace

bool BackUpBefore(CommandContext& context, DeviceLink& link, std::string_view operation) {
    const DocumentsFolder documents = context.Documents();
    if (documents.path.empty()) {
        context.Fail(kExitFailed, documents.error + "; the keyboard could not be backed up first");
        return false;
    }
    const AutomaticBackupResult taken = TakeAutomaticBackup(link, documents.path, operation);
    switch (taken.outcome) {
        case AutomaticBackupOutcome::Written:
            // Said beside the operation's own output, which scripts read.
            context.Err() << "korvelctl: the keyboard was first backed up into "
                          << Shown(taken.file) << '\n';
            return true;
        case AutomaticBackupOutcome::KeyboardUnreadable:
            return true;
        case AutomaticBackupOutcome::WriteFailed:
            break;
    }
    context.Fail(kExitFailed, "the keyboard could not be backed up first: " + Shown(taken.file) +
                                  " could not be written (" + taken.write.Reason() +
                                  "); nothing was changed. Make room in (or write access to) its "
                                  "folder, or give --no-backup to go on without a backup");
    return false;
}

int RunCompleteBackup(CommandContext& context) {
    const std::string& file = context.Arguments().file;
    KeyboardSession* keyboard = context.Keyboard();
    if (keyboard == nullptr) {
        return kExitFailed;
    }
    const std::optional<CompleteBackup> backup = ReadCompleteBackup(keyboard->Link());
    if (!backup) {
        return context.Finish(context.Fail(
            kExitFailed, "the keyboard could not be read; " + file + " was not changed"));
    }
    if (const FileWriteResult written = WriteCompleteBackupFile(context.PathOf(file), *backup);
        !written) {
        return context.Finish(
            context.Fail(kExitFailed, "the backup could not be written to " + EscapeControls(file) +
                                          " (" + written.Reason() + "); it is as it was"));
    }
    return context.Finish(kExitOk);
}

int RunRestore(CommandContext& context) {
    const std::string& file = context.Arguments().file;
    std::string error;
    const std::optional<CompleteBackup> backup =
        LoadCompleteBackupFile(context.PathOf(file), error);
    if (!backup) {
        return context.Fail(kExitFailed, EscapeControls(file) +
                                             " cannot be restored: " + EscapeControls(error) +
                                             "; the keyboard was not changed");
    }
    KeyboardSession* keyboard = context.Keyboard();
    if (keyboard == nullptr) {
        return kExitFailed;
    }
    DeviceLink& link = keyboard->Link();
    KeyCodec keyCodec;
    TakeKeyboardBasics(link, keyCodec);
    if (!BackUpBefore(context, link, kBackupBeforeRestore)) {
        return context.Finish(kExitFailed);
    }
    const RestoreResult restored = RestoreCompleteBackup(link, *backup, keyCodec);
    if (restored.outcome != RestoreOutcome::Restored) {
        return context.Finish(context.Fail(kExitFailed, DescribeRestore(restored)));
    }
    context.Out() << "restored: the keyboard holds the backup\n";
    return context.Finish(kExitOk);
}

}  // namespace korvel::cli
