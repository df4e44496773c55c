#include "model/macros/macro_working_list.h"

#include <algorithm>

namespace korvel {
namespace {

char16_t Lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool StartsWithName(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && SameMacroName(text.substr(0, prefix.size()), prefix);
}

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0x3000;
}

std::u16string CutName(std::u16string_view name) {
    return std::u16string(name.substr(0, kMaxMacroNameChars));
}

}  // namespace

bool SameMacroName(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
}

void MacroWorkingList::Load(const std::vector<MacroRecord>& macros) {
    m_items = macros;
    if (m_items.size() > static_cast<std::size_t>(kMaxMacros)) {
        m_items.resize(kMaxMacros);
    }
    for (MacroRecord& record : m_items) {
        record.isNew = 0;
    }
    m_current = kNone;
    m_steps.Load({});
    m_cycles = 1;
}

const MacroRecord* MacroWorkingList::CurrentRecord() const {
    return m_current == kNone ? nullptr : &m_items[static_cast<std::size_t>(m_current)];
}

void MacroWorkingList::WriteBack() {
    if (m_current == kNone) {
        return;
    }
    MacroRecord& record = m_items[static_cast<std::size_t>(m_current)];
    record.loopCount = m_cycles;
    record.actions = m_steps.Actions();
}

void MacroWorkingList::LoadSteps() {
    if (m_current == kNone) {
        m_steps.Load({});
        return;
    }
    const MacroRecord& record = m_items[static_cast<std::size_t>(m_current)];
    m_cycles = record.loopCount;
    m_steps.Load(record.actions);
}

void MacroWorkingList::Select(int index) {
    WriteBack();
    m_current = index >= 0 && index < Count() ? index : kNone;
    LoadSteps();
}

int MacroWorkingList::IndexOfId(std::uint16_t macroId) const {
    for (int i = 0; i < Count(); ++i) {
        if (m_items[static_cast<std::size_t>(i)].macroId == macroId) {
            return i;
        }
    }
    return kNone;
}

void MacroWorkingList::SelectById(std::uint16_t macroId) {
    const int index = macroId == 0 ? kNone : IndexOfId(macroId);
    Select(index == kNone ? (Count() > 0 ? 0 : kNone) : index);
}

MacroRecord MacroWorkingList::NewRecord(std::u16string name) const {
    MacroRecord record;
    record.name = std::move(name);
    record.loopCount = m_rules.newLoopCount;
    record.isNew = 1;
    record.macroId = LowestFreeMacroId(m_items);
    return record;
}

bool MacroWorkingList::HasNamePrefix(std::u16string_view name) const {
    return std::any_of(m_items.begin(), m_items.end(), [&](const MacroRecord& record) {
        return m_rules.naming == MacroNaming::Counter ? StartsWithName(record.name, name)
                                                      : SameMacroName(record.name, name);
    });
}

int MacroWorkingList::Add(std::u16string_view prefix,
                          const std::function<std::u16string()>& timeOfDay) {
    if (Count() >= kMaxMacros) {
        return kNone;
    }
    if (m_items.empty()) {
        m_nameCounter = 0;
    }
    std::u16string name;
    // A clock that keeps giving a taken name falls back to counting after a while.
    int attempts = 0;
    do {
        name = std::u16string(prefix);
        if (m_rules.naming == MacroNaming::Counter || !timeOfDay || ++attempts > 1000) {
            ++m_nameCounter;
            for (char c : std::to_string(m_nameCounter)) {
                name += static_cast<char16_t>(c);
            }
        } else {
            name += timeOfDay();
        }
    } while (HasNamePrefix(name));
    WriteBack();
    m_items.push_back(NewRecord(CutName(name)));
    m_current = Count() - 1;
    LoadSteps();
    return m_current;
}

MacroWorkingList::Rename MacroWorkingList::RenameCurrent(std::u16string_view name, bool checked,
                                                         std::u16string_view reservedName) {
    if (checked) {
        while (!name.empty() && IsSpace(name.front())) {
            name.remove_prefix(1);
        }
        while (!name.empty() && IsSpace(name.back())) {
            name.remove_suffix(1);
        }
        const std::u16string cut = CutName(name);
        if (std::any_of(m_items.begin(), m_items.end(),
                        [&](const MacroRecord& r) { return SameMacroName(r.name, cut); })) {
            return Rename::SameName;
        }
        if (!reservedName.empty() && SameMacroName(cut, reservedName)) {
            return Rename::SystemName;
        }
    }
    if (m_current == kNone) {
        if (Count() >= kMaxMacros) {
            return Rename::Done;
        }
        m_items.insert(m_items.begin(), NewRecord(CutName(name)));
        m_current = 0;
        LoadSteps();
        return Rename::Done;
    }
    m_items[static_cast<std::size_t>(m_current)].name = CutName(name);
    return Rename::Done;
}

bool MacroWorkingList::DeleteCurrent() {
    if (m_current == kNone) {
        return false;
    }
    m_items.erase(m_items.begin() + m_current);
    m_current = m_items.empty() ? kNone : std::max(m_current - 1, 0);
    LoadSteps();
    return true;
}

void MacroWorkingList::SortByName(bool ascending) {
    WriteBack();
    const std::uint16_t id =
        m_current == kNone ? 0 : m_items[static_cast<std::size_t>(m_current)].macroId;
    std::stable_sort(m_items.begin(), m_items.end(),
                     [&](const MacroRecord& a, const MacroRecord& b) {
                         std::u16string x = a.name, y = b.name;
                         std::transform(x.begin(), x.end(), x.begin(), Lower);
                         std::transform(y.begin(), y.end(), y.begin(), Lower);
                         return ascending ? x < y : y < x;
                     });
    if (m_current != kNone) {
        m_current = IndexOfId(id);
    }
}

std::vector<MacroRecord> MacroWorkingList::Records() {
    WriteBack();
    return m_items;
}

void MacroWorkingList::MarkApplied() {
    for (MacroRecord& record : m_items) {
        record.isNew = 0;
    }
}

}  // namespace korvel
