#include "cli/cli_macro_commands.h"

#include <nlohmann/json.hpp>

#include "base/text_encoding.h"
#include "cli/language_texts.h"
#include "cli/working_setup.h"
#include "model/keys/key_entry_edit.h"
#include "model/macros/macro_blob.h"
#include "model/macros/macro_steps.h"
#include "model/macros/macro_working_list.h"

namespace korvel::cli {
namespace {

std::string Text(const std::u16string& text) {
    return EscapeControls(Utf16ToUtf8(text));
}

const MacroRecord* Find(const std::vector<MacroRecord>& macros, const std::string& name) {
    for (const MacroRecord& macro : macros) {
        if (SameMacroName(macro.name, Utf8ToUtf16(name))) {
            return &macro;
        }
    }
    return nullptr;
}

int List(CommandContext& context, const std::vector<MacroRecord>& macros) {
    if (context.Arguments().json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const MacroRecord& macro : macros) {
            list.push_back({{"name", Utf16ToUtf8(macro.name)},
                            {"actions", macro.actions.size()},
                            {"cycles", macro.loopCount}});
        }
        context.Out() << list.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                      << '\n';
        return kExitOk;
    }
    for (const MacroRecord& macro : macros) {
        context.Out() << Text(macro.name) << ": " << DescribeMacro(macro) << '\n';
    }
    return kExitOk;
}

// The window's refusals of a new macro, in its words: the 101st, a name taken or reserved.
std::optional<std::u16string> Refusal(const std::vector<MacroRecord>& macros,
                                      const std::u16string& name, const TextLookup& texts) {
    if (macros.size() >= static_cast<std::size_t>(kMaxMacros)) {
        return FormatWithNumber(
            LocalisedOr(texts, "MACRO_ERR_MAX",
                        u"No more macros can be added: %d is the most the keyboard holds."),
            kMaxMacros);
    }
    for (const MacroRecord& macro : macros) {
        if (SameMacroName(macro.name, name)) {
            return LocalisedOr(texts, "MACRO_ERR_SAME", u"Another macro already has this name.");
        }
    }
    if (SameMacroName(name, LocalisedOr(texts, "MACRO_DEFAULT_NAME", u"Empty Macro"))) {
        return LocalisedOr(texts, "MACRO_ERR_NAME_SYSTEM",
                           u"This name is reserved. Choose another one.");
    }
    return std::nullopt;
}

int Add(CommandContext& context, WorkingSetup& setup) {
    const CommandArguments& arguments = context.Arguments();
    const TextLookup& texts = setup.texts;
    std::u16string name = Utf8ToUtf16(arguments.name);
    name.erase(0, name.find_first_not_of(u" \t"));
    name.erase(name.find_last_not_of(u" \t") + 1);
    if (name.empty() || name.size() > static_cast<std::size_t>(kMaxMacroNameChars)) {
        return context.Fail(kExitUsage, "a macro's name has 1 to " +
                                            std::to_string(kMaxMacroNameChars) + " characters");
    }
    std::string joined;
    for (const std::string& step : arguments.steps) {
        joined += step + ' ';
    }
    std::string error;
    const auto actions = ParseMacroSteps(joined, NamesOf(setup.codec), error);
    if (!actions) {
        return context.Fail(kExitUsage, error);
    }
    EditingHolder& editing = setup.store.EditingConfig();
    std::vector<MacroRecord> macros;
    {
        auto lock = editing.Lock();
        macros = editing.Macros();
    }
    if (const auto refused = Refusal(macros, name, texts)) {
        return context.Fail(kExitFailed, Utf16ToUtf8(*refused));
    }
    MacroRecord record;
    record.name = name;
    record.loopCount = static_cast<std::uint8_t>(arguments.cycles);
    record.actions = *actions;
    for (std::uint16_t id = 1; record.macroId == 0; ++id) {
        if (std::none_of(macros.begin(), macros.end(),
                         [id](const MacroRecord& m) { return m.macroId == id; })) {
            record.macroId = id;
        }
    }
    macros.push_back(std::move(record));
    {
        auto lock = editing.Lock();
        editing.SetMacros(macros);
        // The keyboard must be able to hold them: otherwise nothing is saved or sent.
        if (const BlobForm form =
                ChooseBlobForm(editing, static_cast<std::uint32_t>(setup.link->MacroCapacity()));
            form.outcome == BlobFormOutcome::Refused) {
            return context.Fail(kExitFailed,
                                Utf16ToUtf8(LocalisedOr(texts, form.messageKey, form.message)));
        }
    }
    return ApplyWorkingSetup(context, setup, true);
}

int Delete(CommandContext& context, WorkingSetup& setup) {
    EditingHolder& editing = setup.store.EditingConfig();
    std::vector<MacroRecord> macros;
    {
        auto lock = editing.Lock();
        macros = editing.Macros();
    }
    const MacroRecord* found = Find(macros, context.Arguments().name);
    if (found == nullptr) {
        return context.Fail(kExitFailed, "there is no macro named '" +
                                             EscapeControls(context.Arguments().name) + "'");
    }
    const std::uint16_t id = found->macroId;
    // Keys that play it get back their own function, as the window's Yes does.
    for (int p = 0; p < kProfileBlocks; ++p) {
        for (int slot = 0; slot < kBlockSlots; ++slot) {
            KeyEntry entry;
            {
                auto lock = editing.Lock();
                entry = editing.Image()
                            ->blocks[static_cast<std::size_t>(p)][static_cast<std::size_t>(slot)];
            }
            if (entry.type == kEntryMacro && entry.value == id) {
                WriteEditedEntry(editing, p, slot, BuildEditedEntry(KeyEdit{}, slot));
                context.Err() << "korvelctl: profile " << p + 1 << ", "
                              << Text(SlotLabel(setup.codec, slot))
                              << " played it and does its own function again\n";
            }
        }
    }
    std::erase_if(macros, [id](const MacroRecord& m) { return m.macroId == id; });
    {
        auto lock = editing.Lock();
        editing.SetMacros(macros);
    }
    return ApplyWorkingSetup(context, setup, true);
}

}  // namespace

int RunMacro(CommandContext& context) {
    const std::string& action = context.Arguments().macroAction;
    WorkingSetup setup;
    if (!OpenWorkingSetup(context, setup)) {
        return context.Finish(kExitFailed);
    }
    std::vector<MacroRecord> macros;
    {
        auto lock = setup.store.EditingConfig().Lock();
        macros = setup.store.EditingConfig().Macros();
    }
    if (action == "list") {
        return context.Finish(List(context, macros));
    }
    if (action == "show") {
        const MacroRecord* macro = Find(macros, context.Arguments().name);
        if (macro == nullptr) {
            return context.Finish(context.Fail(
                kExitFailed,
                "there is no macro named '" + EscapeControls(context.Arguments().name) + "'"));
        }
        context.Out() << FormatMacroSteps(macro->actions, setup.codec)
                      << "\ncycles: " << int{macro->loopCount} << '\n';
        return context.Finish(kExitOk);
    }
    if (action == "add") {
        return context.Finish(Add(context, setup));
    }
    return context.Finish(Delete(context, setup));
}

}  // namespace korvel::cli
