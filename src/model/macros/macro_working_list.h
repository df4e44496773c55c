#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/macros/macro_action_list.h"
#include "model/macros/macro_edit_rules.h"
#include "model/macros/macro_record.h"

namespace korvel {

// The working copies an editor keeps of the macro list while it is open: the records, the selected
// one and the steps of the selected one. EditingConfig changes only when the editor applies
// Records().
class MacroWorkingList {
public:
    static constexpr int kNone = -1;

    explicit MacroWorkingList(const MacroEditRules& rules) : m_rules(rules) {}

    // Copies of the list, marked applied; nothing selected.
    void Load(const std::vector<MacroRecord>& macros);
    int Count() const { return static_cast<int>(m_items.size()); }
    const MacroRecord& Item(int index) const { return m_items[static_cast<std::size_t>(index)]; }
    int Current() const { return m_current; }
    const MacroRecord* CurrentRecord() const;
    MacroActionList& Steps() { return m_steps; }
    const MacroActionList& Steps() const { return m_steps; }

    // Writes the steps (and cycles) back into the selected record, then selects `index` (kNone:
    // nothing) and loads its steps and cycles.
    void Select(int index);
    // The record with that id, or the first one when no record has it.
    void SelectById(std::uint16_t macroId);
    int IndexOfId(std::uint16_t macroId) const;

    std::uint8_t Cycles() const { return m_cycles; }
    void SetCycles(std::uint8_t cycles) { m_cycles = cycles; }

    // Adds a macro named `prefix` and a number (counter naming) or `prefix` and what timeOfDay
    // gives (time naming; it is asked again while the name is taken), selects it and answers its
    // index; kNone when the list already holds 100 macros.
    int Add(std::u16string_view prefix, const std::function<std::u16string()>& timeOfDay = {});

    enum class Rename { Done, SameName, SystemName };
    // The selected macro takes the name (cut to what the stored field holds). With checks (the
    // macro editor): white space trimmed, a name that any macro already has or that equals
    // `reservedName` (ignoring case) is refused. Without a selection, and when the list is empty,
    // a new macro of that name is made first.
    Rename RenameCurrent(std::u16string_view name, bool checked, std::u16string_view reservedName);

    // Removes the selected macro; the one before it (or the first) becomes selected.
    bool DeleteCurrent();
    // Orders the macros by name; the selection follows its macro.
    void SortByName(bool ascending);

    // Every record with the selected one's steps written back, in list order.
    std::vector<MacroRecord> Records();
    // After the list was applied: no record is new any more.
    void MarkApplied();

private:
    void WriteBack();
    void LoadSteps();
    MacroRecord NewRecord(std::u16string name) const;
    bool HasNamePrefix(std::u16string_view name) const;

    MacroEditRules m_rules;
    std::vector<MacroRecord> m_items;
    int m_current = kNone;
    int m_nameCounter = 0;
    std::uint8_t m_cycles = 1;
    MacroActionList m_steps;
};

// Case-insensitive comparison of ASCII letters, as macro names are compared.
bool SameMacroName(std::u16string_view a, std::u16string_view b);

}  // namespace korvel
