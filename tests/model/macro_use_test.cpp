#include <gtest/gtest.h>

#include "model/macros/macro_use.h"

namespace korvel {
namespace {

MacroRecord Macro(std::uint16_t id, std::uint16_t isNew = 0) {
    MacroRecord record;
    record.macroId = id;
    record.isNew = isNew;
    return record;
}

class MacroUse : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateDefaultConfig(m_store, {}, 0, true)); }
    void Assign(int k, std::uint32_t id) {
        KeyEntry& entry = m_store.EditingConfig().Image()->Entry(k);
        entry.type = kEntryMacro;
        entry.value = id;
    }
    // Asks like a user who answers `answer`, counting the questions.
    std::function<bool()> Answering(bool answer) {
        return [this, answer] {
            ++m_questions;
            return answer;
        };
    }
    ConfigStore m_store;
    int m_questions = 0;
};

TEST_F(MacroUse, DeletionAsksOnlyWhenKeysPlayTheMacro) {
    Assign(1054, 3);
    Assign(GlobalEntryIndex(1, 40), 0x10005);  // only the low 16 bits name the macro
    const EditingHolder& editing = m_store.EditingConfig();
    struct Case {
        MacroRecord record;
        bool answer;
        bool proceed;
        int questions;
    };
    const Case cases[] = {
        {Macro(3), true, true, 1},  {Macro(3), false, false, 1},   {Macro(5), false, false, 1},
        {Macro(4), false, true, 0}, {Macro(3, 1), false, true, 0},  // never applied: no key can
                                                                    // play it
    };
    for (const Case& c : cases) {
        m_questions = 0;
        EXPECT_EQ(MacroInUse(editing, c.record, Answering(c.answer)), c.proceed)
            << c.record.macroId;
        EXPECT_EQ(m_questions, c.questions) << c.record.macroId;
    }
}

TEST_F(MacroUse, EntryAt256IsPassedOver) {
    Assign(256, 3);
    EXPECT_TRUE(MacroInUse(m_store.EditingConfig(), Macro(3), Answering(false)));
    EXPECT_EQ(m_questions, 0);
    Assign(257, 3);
    EXPECT_FALSE(MacroInUse(m_store.EditingConfig(), Macro(3), Answering(false)));
}

TEST_F(MacroUse, StaleAssignmentsGoBackToDefault) {
    EditingHolder& editing = m_store.EditingConfig();
    Assign(1, 3);                       // kept
    Assign(2, 5);                       // macro gone
    Assign(3, 7);                       // id taken over by a new macro
    Assign(4, 0);                       // no id yet: the first macro of the list
    Assign(256, 9);                     // a G key: its code stays in aux
    editing.Image()->Entry(1).aux = 2;  // a loop count stays with a kept entry
    editing.Image()->Entry(6) = {kEntryKey, 0, 0x01E, 0, 0};

    const std::vector<int> changed =
        ReplaceEditingMacros(editing, {Macro(8), Macro(3), Macro(7, 1)});
    EXPECT_EQ(changed, (std::vector<int>{2, 3, 4, 256}));
    const ConfigImage& image = *editing.Image();
    EXPECT_EQ(image.Entry(1), (KeyEntry{kEntryMacro, 2, 3, 0, 0}));
    EXPECT_EQ(image.Entry(2), KeyEntry{});
    EXPECT_EQ(image.Entry(3), KeyEntry{});
    EXPECT_EQ(image.Entry(4), (KeyEntry{kEntryMacro, 0, 8, 0, 0}));
    EXPECT_EQ(image.Entry(256), (KeyEntry{kEntryDefault, 0x0301, 0, 0, 0}));
    EXPECT_EQ(image.Entry(6), (KeyEntry{kEntryKey, 0, 0x01E, 0, 0}));
    ASSERT_EQ(editing.MacroCount(), 3);
    for (const MacroRecord& record : editing.Macros()) {
        EXPECT_EQ(record.isNew, 0);
    }
    EXPECT_EQ(MacroIdAt(editing, 2), 7);

    // Once applied, the new macro keeps the keys that are given it afterwards.
    Assign(3, 7);
    EXPECT_TRUE(ReplaceEditingMacros(editing, editing.Macros()).empty());
}

TEST_F(MacroUse, EmptyListClearsEveryMacroAssignment) {
    Assign(4, 0);
    Assign(2047, 1);
    EXPECT_EQ(ReplaceEditingMacros(m_store.EditingConfig(), {}), (std::vector<int>{4, 2047}));
    EXPECT_EQ(m_store.EditingConfig().Image()->Entry(4).type, kEntryDefault);
}

}  // namespace
}  // namespace korvel
