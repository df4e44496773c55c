#include "cli/working_setup.h"

#include "base/text_encoding.h"
#include "cli/console_prompts.h"
#include "cli/keyboard_session.h"
#include "cli/language_texts.h"
#include "device/command_set.h"
#include "model/files/profile_file.h"
#include "model/files/profile_locations.h"
#include "sync/device_backup.h"
#include "sync/download_check.h"
#include "sync/hardware_download.h"
#include "sync/keyboard_arrival.h"

namespace korvel::cli {

// The English names of the media keys and functions, whatever language the user reads.
KeyNames NamesOf(const KeyCodec& codec) {
    const TextLookup english = EnglishTexts();
    std::array<std::u16string, kMediaKeys> media;
    for (int i = 0; i < kMediaKeys; ++i) {
        media[static_cast<std::size_t>(i)] =
            english(MediaKeyTable()[static_cast<std::size_t>(i)].languageKey);
    }
    std::array<std::u16string, kFunctionKeys> functions = KeyTexts{}.functionNames;
    for (int i = 0; i < kFunctionKeys; ++i) {
        const std::u16string name = english(FunctionKeyLanguageKeys()[static_cast<std::size_t>(i)]);
        if (!name.empty()) {
            functions[static_cast<std::size_t>(i)] = name;
        }
    }
    return KeyNames(codec, std::move(media), std::move(functions));
}

bool OpenWorkingSetup(CommandContext& context, WorkingSetup& setup) {
    const DocumentsFolder found = context.Documents();
    if (found.path.empty()) {
        context.Fail(kExitFailed, found.error);
        return false;
    }
    setup.documents = found.path;
    KeyboardSession* keyboard = context.Keyboard();
    if (keyboard == nullptr) {
        return false;
    }
    setup.link = &keyboard->Link();
    setup.texts = LanguageTexts();
    TakeKeyboardBasics(*setup.link, setup.codec);
    LocaliseKeyNames(setup.codec, setup.texts);
    setup.activeProfile = DevGetActiveProfile(*setup.link);
    if (setup.activeProfile < 0) {
        context.Fail(kExitFailed, "the active profile could not be read from the keyboard");
        return false;
    }
    CreateDefaultConfig(setup.store, {}, 0, true);
    const std::filesystem::path working = WorkingFile(setup.documents);
    std::error_code ignored;
    if (std::filesystem::exists(working, ignored) && LoadProfileFile(setup.store, working)) {
        return true;
    }
    if (ReloadFromDevice(setup.store, *setup.link, setup.codec, setup.texts, setup.documents) ==
        ReloadOutcome::Defaults) {
        context.Fail(kExitFailed, "the keyboard's configuration could not be read");
        return false;
    }
    return true;
}

// Saves the working file and downloads as Apply does: all three profiles when the change is not
// in the active one, reading back what was sent.
int ApplyWorkingSetup(CommandContext& context, WorkingSetup& setup, bool allProfiles) {
    EnsureProfileDirectory(setup.documents);
    if (const FileWriteResult saved =
            SaveProfileFile(setup.store, true, WorkingFile(setup.documents));
        !saved) {
        return context.Fail(kExitFailed, "the working file could not be written (" +
                                             saved.Reason() + "); nothing was sent");
    }
    ConsolePrompts prompts(context.Err(), nullptr);
    DownloadParts parts{setup.store, *setup.link, setup.codec, prompts, setup.texts};
    parts.verify = true;
    DownloadReport report;
    if (StageAndDownload(parts, allProfiles, &report) != 1) {
        return context.Fail(kExitFailed, report.sent ? "the keyboard did not take the change"
                                                     : "nothing was sent to the keyboard");
    }
    if (report.check && !report.check->Holds()) {
        return context.Fail(kExitFailed, DescribeFailedCheck(*report.check));
    }
    return kExitOk;
}

}  // namespace korvel::cli
