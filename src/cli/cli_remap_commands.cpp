#include "cli/cli_remap_commands.h"

#include <sstream>

#include "base/text_encoding.h"
#include "cli/console_prompts.h"
#include "cli/keyboard_session.h"
#include "cli/language_texts.h"
#include "cli/working_setup.h"
#include "device/command_set.h"
#include "device/result_codes.h"
#include "model/files/profile_file.h"
#include "model/files/profile_locations.h"
#include "model/keys/key_codec.h"
#include "model/keys/key_entry_edit.h"
#include "model/keys/key_names.h"
#include "model/keys/key_tip.h"
#include "sync/device_backup.h"
#include "sync/download_check.h"
#include "sync/hardware_download.h"
#include "sync/keyboard_arrival.h"

namespace korvel::cli {
namespace {

// "profile 1: A sends B", as the key's tip says it.
std::string Says(WorkingSetup& setup, int profile, int slot) {
    EditingHolder& editing = setup.store.EditingConfig();
    auto lock = editing.Lock();
    const KeyEntry& entry =
        editing.Image()->blocks[static_cast<std::size_t>(profile)][static_cast<std::size_t>(slot)];
    KeyTipTexts tips = LocalisedTipTexts(setup.texts);
    tips.set = LocalisedOr(setup.texts, "KEY_PROMPT_SET", u": ");
    const KeyTip tip =
        KeyTipText(SlotLabel(setup.codec, slot), entry, setup.codec, editing.Macros(), tips);
    return "profile " + std::to_string(profile + 1) + ": " + EscapeControls(Utf16ToUtf8(tip.text));
}

int Change(CommandContext& context, bool reset) {
    const CommandArguments& arguments = context.Arguments();
    WorkingSetup setup;
    if (!OpenWorkingSetup(context, setup)) {
        return context.Finish(kExitFailed);
    }
    const KeyNames names = NamesOf(setup.codec);
    const std::optional<int> slot = names.SlotOf(arguments.key);
    if (!slot) {
        return context.Finish(context.Fail(
            kExitUsage, "no key is named '" + EscapeControls(arguments.key) +
                            "' (keys are named as the window shows them: A, Caps Lock, G1)"));
    }
    KeyEdit edit;  // cleared: the key's own function
    if (!reset) {
        const std::optional<KeyNames::Target> target = names.TargetOf(arguments.target);
        if (!target) {
            return context.Finish(
                context.Fail(kExitUsage, "'" + EscapeControls(arguments.target) +
                                             "' is no key, media key, function or macro:NAME"));
        }
        edit = target->edit;
        if (edit.type == kEntryMacro) {
            auto lock = setup.store.EditingConfig().Lock();
            for (const MacroRecord& macro : setup.store.EditingConfig().Macros()) {
                if (macro.name == target->macro) {
                    edit.macroId = macro.macroId;
                }
            }
            if (edit.macroId == 0) {
                return context.Finish(
                    context.Fail(kExitFailed, "there is no macro named '" +
                                                  EscapeControls(Utf16ToUtf8(target->macro)) +
                                                  "' ('korvelctl macro list' shows them)"));
            }
            edit.cycles = static_cast<std::uint8_t>(arguments.cycles);
        }
    }
    // G9 plays macros only, as its editor offers nothing else.
    if (*slot == GKeySlot(kGKeys, GKeyBank::A) && edit.type != kEntryMacro && !reset) {
        return context.Finish(
            context.Fail(kExitFailed, "G9 can only play a macro: give it macro:NAME"));
    }
    const int profile = arguments.profile > 0 ? arguments.profile - 1 : setup.activeProfile;
    WriteEditedEntry(setup.store.EditingConfig(), profile, *slot, BuildEditedEntry(edit, *slot));
    if (const int status = ApplyWorkingSetup(context, setup, profile != setup.activeProfile);
        status != kExitOk) {
        return context.Finish(status);
    }
    context.Out() << Says(setup, profile, *slot) << '\n';
    return context.Finish(kExitOk);
}

}  // namespace

int RunRemap(CommandContext& context) {
    return Change(context, false);
}

int RunReset(CommandContext& context) {
    return Change(context, true);
}

}  // namespace korvel::cli
