#include <gtest/gtest.h>

#include "model/image/config_store.h"
#include "model/keys/key_entry_edit.h"
#include "model/macros/macro_action_list.h"
#include "model/macros/macro_recorder.h"
#include "model/macros/macro_use.h"
#include "model/macros/macro_working_list.h"

namespace korvel {
namespace {

constexpr ScanCode kA = 0x01E;
constexpr ScanCode kB = 0x030;
constexpr ScanCode kShift = 0x02A;
constexpr ScanCode kPrintScreen = 0x137;

struct KeyEvent {
    ScanCode key;
    bool release;
    bool repeat;
    std::uint64_t atMs;
};

// Records the events into an empty list, Record pressed at 0 ms.
std::vector<MacroAction> Recorded(const MacroEditRules& rules, bool timed,
                                  std::initializer_list<KeyEvent> events) {
    MacroRecorder recorder(rules);
    MacroActionList list;
    recorder.Start(0, timed);
    for (const KeyEvent& e : events) {
        for (const RecordedStep& step : recorder.OnKey(e.key, e.release, e.repeat, e.atMs)) {
            list.Record(step.gapMs, step.key, step.direction);
        }
    }
    return list.Actions();
}

TEST(MacroRecorderTest, DelaysFollowTheRulesOfEachEditor) {
    const std::initializer_list<KeyEvent> pressReleaseA = {
        {kA, false, false, 500}, {kA, false, true, 560}, {kA, true, false, 620}};
    const std::initializer_list<KeyEvent> printScreenAfterA = {
        {kA, false, false, 10}, {kA, true, false, 20}, {kPrintScreen, true, false, 90}};
    struct Case {
        MacroEditRules rules;
        bool timed;
        std::initializer_list<KeyEvent> events;
        std::vector<MacroAction> expected;
    };
    const Case cases[] = {
        {kMacroPageRules, true, pressReleaseA, {{120, kA, kMacroPress}, {0, kA, kMacroRelease}}},
        {kMacroEditorRules, true, pressReleaseA, {{120, kA, kMacroPress}, {0, kA, kMacroRelease}}},
        {kMacroPageRules, false, pressReleaseA, {{50, kA, kMacroPress}, {0, kA, kMacroRelease}}},
        {kMacroEditorRules, false, pressReleaseA, {{0, kA, kMacroPress}, {0, kA, kMacroRelease}}},
        {kMacroPageRules,
         true,
         {{kA, false, false, 0}, {kB, false, false, 60000}},
         {{40000, kA, kMacroPress}, {0, kB, kMacroPress}}},
        {kMacroPageRules,
         true,
         printScreenAfterA,
         {{10, kA, kMacroPress},
          {70, kA, kMacroRelease},
          {2, kPrintScreen, kMacroPress},
          {0, kPrintScreen, kMacroRelease}}},
        {kMacroPageRules,
         false,
         printScreenAfterA,
         {{50, kA, kMacroPress},
          {50, kA, kMacroRelease},
          {50, kPrintScreen, kMacroPress},
          {0, kPrintScreen, kMacroRelease}}},
        // A media key and no key are not recorded; Print Screen with its own press gets no extra.
        {kMacroEditorRules,
         true,
         {{0x120, false, false, 5},
          {0, false, false, 6},
          {kPrintScreen, false, false, 10},
          {kPrintScreen, true, false, 30}},
         {{20, kPrintScreen, kMacroPress}, {0, kPrintScreen, kMacroRelease}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Recorded(c.rules, c.timed, c.events), c.expected);
    }
}

TEST(MacroActionListTest, RecordsAfterTheSelectionAndKeepsTheCap) {
    MacroActionList list;
    list.Load({{30, kA, kMacroPress}, {0, kA, kMacroRelease}});
    list.Select(0);
    ASSERT_TRUE(list.Record(7, kB, kMacroPress));
    EXPECT_EQ(list.Actions(),
              (std::vector<MacroAction>{
                  {7, kA, kMacroPress}, {30, kB, kMacroPress}, {0, kA, kMacroRelease}}));
    EXPECT_EQ(list.Selected(), 1);
    list.Load(std::vector<MacroAction>(kMaxMacroActions, MacroAction{0, kA, kMacroPress}));
    EXPECT_FALSE(list.Record(0, kB, kMacroPress));
    EXPECT_EQ(list.Size(), kMaxMacroActions);
}

TEST(MacroActionListTest, MovesDeletesAndNamesHeldKeys) {
    MacroActionList list;
    list.Load({{1, kShift, kMacroPress}, {2, kA, kMacroPress}, {3, kA, kMacroRelease}});
    list.Select(2);
    EXPECT_TRUE(list.MoveSelectedToTop());
    EXPECT_EQ(list.Actions().front().delayMs, 3u);
    EXPECT_FALSE(list.MoveSelectedUp());
    EXPECT_TRUE(list.MoveSelectedToBottom());
    EXPECT_TRUE(list.MoveSelectedUp());
    EXPECT_EQ(list.Selected(), 1);
    EXPECT_EQ(list.KeysLeftPressed(), (std::vector<ScanCode>{kA, kShift}));
    EXPECT_TRUE(list.MoveSelectedDown());
    EXPECT_EQ(list.KeysLeftPressed(), (std::vector<ScanCode>{kShift}));
    list.Select(0);
    EXPECT_TRUE(list.DeleteSelected());
    EXPECT_TRUE(list.KeysLeftPressed().empty());
    EXPECT_TRUE(list.Clear());
    EXPECT_FALSE(list.DeleteSelected());
}

TEST(MacroActionListTest, MissingReleasesAreAddedAtTheEnd) {
    const ScanCode kA = 0x01E, kShift = 0x02A;
    std::vector<MacroAction> actions = {
        {50, kShift, kMacroPress}, {20, kA, kMacroPress}, {20, kA, kMacroRelease}};
    EXPECT_EQ(KeysLeftPressed(actions), std::vector<ScanCode>{kShift});
    EXPECT_TRUE(AddMissingReleases(actions));
    ASSERT_EQ(actions.size(), 4u);
    EXPECT_EQ(actions.back(), (MacroAction{0, kShift, kMacroRelease}));
    EXPECT_TRUE(KeysLeftPressed(actions).empty());
    EXPECT_FALSE(AddMissingReleases(actions)) << "nothing left held";
}

TEST(MacroActionListTest, TypedDelaysAndCycles) {
    // To the nearest step; a delay that is not 0 never becomes 0.
    for (auto [typed, kept] : {std::pair<std::uint64_t, std::uint32_t>{0, 0},
                               {1, 10},
                               {7, 10},
                               {14, 10},
                               {15, 20},
                               {59, 60},
                               {12345, 12350},
                               {39999, 40000}}) {
        EXPECT_EQ(DelayFromTypedNumber(typed, 10).delayMs, kept) << typed;
    }
    EXPECT_EQ(DelayFromTypedNumber(12345, 1).delayMs, 12345u);
    EXPECT_EQ(DelayFromTypedNumber(39999, 7).delayMs, 39998u) << "within the maximum";
    const TypedDelay over = DelayFromTypedNumber(45000, 10);
    EXPECT_TRUE(over.overMaximum);
    EXPECT_EQ(over.delayMs, 40000u);
    for (auto [text, cycles] : {std::pair{u"0", 1}, {u"300", 255}, {u"12", 12}, {u"x", 1}}) {
        EXPECT_EQ(CyclesFromText(text), cycles) << std::u16string(text).size();
    }
}

TEST(MacroWorkingListTest, CounterNamesSkipPrefixesAndTheListStopsAtAHundred) {
    MacroWorkingList list(kMacroPageRules);
    list.Load({});
    list.Add(u"Macro");
    EXPECT_EQ(list.Item(0).name, u"Macro1");
    EXPECT_EQ(list.Item(0).loopCount, 1);
    list.Load({MacroRecord{u"Macro12", 1, 0, 0, 0, 1, 0, {}},
               MacroRecord{u"Macro2", 1, 0, 0, 0, 2, 0, {}}});
    list.Add(u"Macro");
    EXPECT_EQ(list.Item(2).name, u"Macro3");
    EXPECT_EQ(list.Item(2).macroId, 3);
    for (int i = list.Count(); i < kMaxMacros; ++i) {
        ASSERT_NE(list.Add(u"Macro"), MacroWorkingList::kNone);
    }
    EXPECT_EQ(list.Add(u"Macro"), MacroWorkingList::kNone);
    EXPECT_EQ(list.Count(), kMaxMacros);
}

TEST(MacroWorkingListTest, CheckedRenamesAndSelectionKeepEdits) {
    MacroWorkingList list(kMacroEditorRules);
    // The clock gives the same time twice: the second macro waits for the next one.
    const char16_t* times[] = {u"101010001", u"101010001", u"101010017"};
    int tick = 0;
    const auto clock = [&] { return std::u16string(times[std::min(tick++, 2)]); };
    list.Load({});
    list.Add(u"Macro", clock);
    list.Add(u"Macro", clock);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(1).name, u"Macro101010017");
    EXPECT_EQ(list.Item(1).loopCount, 0);
    EXPECT_EQ(list.RenameCurrent(u"  macro101010001 ", true, u"Empty Macro"),
              MacroWorkingList::Rename::SameName);
    EXPECT_EQ(list.RenameCurrent(u"EMPTY MACRO", true, u"Empty Macro"),
              MacroWorkingList::Rename::SystemName);
    EXPECT_EQ(list.RenameCurrent(u" Fire ", true, u"Empty Macro"), MacroWorkingList::Rename::Done);
    EXPECT_EQ(list.Item(1).name, u"Fire");
    list.Steps().Record(0, kA, kMacroPress);
    list.Select(0);
    list.Select(1);
    EXPECT_EQ(list.Steps().Size(), 1);
    list.SortByName(true);
    EXPECT_EQ(list.CurrentRecord()->name, u"Fire");
    EXPECT_EQ(list.Current(), 0);
}

TEST(MacroWorkingListTest, ApplyingAfterDeletingAPlayedMacroResetsTheKey) {
    EditingHolder editing;
    editing.SetImage(CreateDefaultImage(0));
    editing.SetMacros({MacroRecord{u"Fire", 1, 0, 0, 0, 1, 0, {{0, kA, 0}}}});
    const int gSlot = GKeySlot(3, GKeyBank::A);
    ASSERT_TRUE(
        WriteEditedEntry(editing, 1, gSlot, BuildEditedEntry({kEntryMacro, 0, 1, 5, 0, 0}, gSlot)));
    EXPECT_EQ(editing.Image()->Entry(GlobalEntryIndex(1, gSlot)).aux, 5);

    MacroWorkingList list(kMacroPageRules);
    list.Load(editing.Macros());
    list.Select(0);
    EXPECT_TRUE(list.DeleteCurrent());
    EXPECT_EQ(list.Current(), MacroWorkingList::kNone);
    const std::vector<int> changed = ReplaceEditingMacros(editing, list.Records());
    EXPECT_EQ(changed, (std::vector<int>{GlobalEntryIndex(1, gSlot)}));
    EXPECT_EQ(editing.Image()->Entry(GlobalEntryIndex(1, gSlot)).type, kEntryDefault);
    EXPECT_TRUE(editing.Macros().empty());
}

TEST(KeyEntryEditTest, EntriesByPage) {
    const int a = SlotOfScan(kA);
    const int g1 = GKeySlot(1, GKeyBank::A);
    const int g9b = GKeySlot(9, GKeyBank::B);
    struct Case {
        KeyEdit edit;
        int slot;
        KeyEntry expected;
    };
    const Case cases[] = {
        {{kEntryKey, kA}, a, {kEntryDefault, 0, 0}},
        {{kEntryKey, kB}, a, {kEntryKey, 0, kB}},
        {{kEntryKey, 0}, g1, {kEntryDefault, 0x0301, 0}},
        {{kEntryMacro, 0, 7, 3}, g1, {kEntryMacro, 3, 7}},
        {{kEntryMacro, 0, 0, 3}, a, {kEntryDefault, 0, 0}},
        {{kEntryDefault}, g9b, {kEntryDefault, 0x1309, 0}},
        {{kEntryMedia, 0, 0, 1, 4}, a, {kEntryMedia, 0, 4}},
        {{kEntryFunction, 0, 0, 1, 0, 6}, a, {kEntryFunction, 0, 6}},
        {{kEntryText, kB}, a, {kEntryText, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BuildEditedEntry(c.edit, c.slot), c.expected) << c.edit.type;
    }
    EditingHolder editing;
    editing.SetImage(CreateDefaultImage(0));
    EXPECT_FALSE(WriteEditedEntry(editing, -1, a, {kEntryKey, 0, kB}));
}

}  // namespace
}  // namespace korvel
