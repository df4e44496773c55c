#include "gui/mainwnd/backup_before.h"

#include <string>

#include "base/text_encoding.h"
#include "gui/mainwnd/keyboard_jobs.h"
#include "gui/mainwnd/window_parts.h"
#include "ports/prompts.h"
#include "sync/keyboard_backup.h"
#include "text/app_paths.h"

namespace korvel {

void BackUpBefore(WindowParts& parts, std::string_view operation, std::function<void()> proceed,
                  std::function<void()> stopped) {
    const std::filesystem::path documents = parts.services.paths.DocumentsDirectory();
    parts.jobs.Submit<AutomaticBackupResult>(
        "automatic backup",
        [documents, operation = std::string(operation)](JobContext& job) {
            return TakeAutomaticBackup(job.Link(), documents, operation);
        },
        [&parts, proceed = std::move(proceed),
         stopped = std::move(stopped)](JobResult<AutomaticBackupResult> result) {
            const bool unkept =
                result.value && result.value->outcome == AutomaticBackupOutcome::WriteFailed;
            if (!unkept) {
                proceed();
                return;
            }
            const std::u16string question =
                parts.CaptionWith("BACKUP_NOT_KEPT", result.value->file.u16string() + u"\n" +
                                                         Utf8ToUtf16(result.value->write.Reason()));
            if (!parts.Closing() &&
                parts.services.prompts.AskYesNo(question, Answer::No) == Answer::Yes) {
                proceed();
            } else if (stopped) {
                stopped();
            }
        });
}

}  // namespace korvel
