#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "model/keys/key_editing.h"

namespace korvel {
namespace {

constexpr ScanCode kA = 0x01E;
constexpr ScanCode kF9 = 0x043;
constexpr ScanCode kPrintScreen = 0x137;  // delivers no press
constexpr KeyPage kAllPages[] = {KeyPage::SingleKey, KeyPage::Macro, KeyPage::Media,
                                 KeyPage::Function};
const int kF9Slot = SlotOfScan(kF9);
const int kG1Slot = GKeySlot(1, GKeyBank::A);
const int kG9Slot = GKeySlot(9, GKeyBank::A);

// The entry OK would write, or nothing.
std::optional<KeyEntry> Written(const KeyEditing& editing) {
    const std::optional<KeyEdit> edit = editing.Edit();
    if (!edit) {
        return std::nullopt;
    }
    return BuildEditedEntry(*edit, editing.Slot());
}

struct Shown {
    KeyPage page;
    ScanCode key = 0;
    int media = -1;
    int function = -1;
    MacroChoice macro{};
};

void ExpectShown(const KeyEditing& editing, const Shown& shown) {
    EXPECT_EQ(editing.Page(), shown.page);
    EXPECT_EQ(editing.ShownKey(), shown.key);
    EXPECT_EQ(editing.ShownMedia(), shown.media);
    EXPECT_EQ(editing.ShownFunction(), shown.function);
    EXPECT_EQ(editing.ShownMacro(), shown.macro);
}

struct OpenCase {
    std::string name;
    KeyEntry entry;
    bool macroOnly;
    Shown shown;
};

const OpenCase kOpenCases[] = {
    {"default", {}, false, {.page = KeyPage::SingleKey}},
    {"key", {.type = kEntryKey, .value = kA}, false, {.page = KeyPage::SingleKey, .key = kA}},
    {"macro",
     {.type = kEntryMacro, .aux = 3, .value = 7},
     false,
     {.page = KeyPage::Macro, .macro = {7, 3}}},
    {"macro, cycles 0",
     {.type = kEntryMacro, .value = 7},
     false,
     {.page = KeyPage::Macro, .macro = {7, 1}}},
    {"media", {.type = kEntryMedia, .value = 17}, false, {.page = KeyPage::Media, .media = 17}},
    {"media out of range",
     {.type = kEntryMedia, .value = kMediaKeys},
     false,
     {.page = KeyPage::Media}},
    {"function",
     {.type = kEntryFunction, .value = 8},
     false,
     {.page = KeyPage::Function, .function = 8}},
    {"function out of range",
     {.type = kEntryFunction, .value = kFunctionKeys},
     false,
     {.page = KeyPage::Function}},
    {"disabled", {.type = kEntryDisabled}, false, {.page = KeyPage::SingleKey}},
    {"program", {.type = kEntryLaunch, .value = 0x40}, false, {.page = KeyPage::SingleKey}},
    {"stop macro", {.type = kEntryStopMacro}, false, {.page = KeyPage::SingleKey}},
    {"text", {.type = kEntryText, .value = 0x40}, false, {.page = KeyPage::SingleKey}},
    {"G9, default", {}, true, {.page = KeyPage::Macro}},
    {"G9, media", {.type = kEntryMedia, .value = 2}, true, {.page = KeyPage::Macro, .media = 2}},
    {"G9, macro",
     {.type = kEntryMacro, .aux = 2, .value = 5},
     true,
     {.page = KeyPage::Macro, .macro = {5, 2}}},
};

TEST(KeyEditing, OpensOnTheEntrysPageShowingWhatItHolds) {
    for (const OpenCase& c : kOpenCases) {
        SCOPED_TRACE(c.name);
        KeyEditing editing;
        editing.Open(kF9Slot, c.entry, c.macroOnly);
        ExpectShown(editing, c.shown);
        EXPECT_FALSE(editing.Chosen());
    }
}

// Looking at every page and back changes nothing: OK writes nothing, whatever the entry holds,
// and every page still shows what it did.
TEST(KeyEditing, LookingAtPagesChoosesNothing) {
    for (const OpenCase& c : kOpenCases) {
        SCOPED_TRACE(c.name);
        KeyEditing editing;
        editing.Open(kF9Slot, c.entry, c.macroOnly);
        for (const KeyPage page : kAllPages) {
            editing.ShowPage(page);
        }
        editing.ShowPage(c.shown.page);
        ExpectShown(editing, c.shown);
        EXPECT_FALSE(editing.Chosen());
        EXPECT_EQ(Written(editing), std::nullopt);
    }
}

TEST(KeyEditing, PagesAreShownOnceAndG9ShowsOnlyTheMacroPage) {
    KeyEditing editing;
    editing.Open(kF9Slot, {}, false);
    EXPECT_FALSE(editing.ShowPage(KeyPage::SingleKey)) << "already shown";
    EXPECT_TRUE(editing.ShowPage(KeyPage::Media));
    EXPECT_EQ(editing.Page(), KeyPage::Media);

    editing.Open(kG9Slot, {}, true);
    for (const KeyPage page : kAllPages) {
        EXPECT_FALSE(editing.ShowPage(page));
        EXPECT_EQ(editing.Page(), KeyPage::Macro);
    }
    editing.Clear();
    EXPECT_EQ(editing.Page(), KeyPage::Macro);
    EXPECT_FALSE(editing.Chosen());
}

TEST(KeyEditing, AKeyIsTakenOnItsPressOrOnTheReleaseOfAKeyThatDeliversNoPress) {
    struct Case {
        ScanCode key;
        bool release;
        bool autoRepeat;
        bool taken;
    };
    const Case cases[] = {
        {kA, false, false, true},          {kA, true, false, false},
        {kA, false, true, false},          {kPrintScreen, false, false, true},
        {kPrintScreen, true, false, true}, {kPrintScreen, false, true, false},
        {kPrintScreen, true, true, false}, {0, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.key << " release " << c.release
                                        << " repeat " << c.autoRepeat);
        KeyEditing editing;
        editing.Open(kF9Slot, {}, false);
        EXPECT_EQ(editing.OfferKey(c.key, c.release, c.autoRepeat), c.taken);
        EXPECT_EQ(editing.Chosen(), c.taken);
        EXPECT_EQ(editing.ShownKey(), c.taken ? c.key : 0);
    }
}

TEST(KeyEditing, ChoicesAreTakenOnlyOnTheirShownPage) {
    KeyEditing editing;
    editing.Open(kF9Slot, {}, false);
    EXPECT_FALSE(editing.ChooseMedia(1));
    EXPECT_FALSE(editing.ChooseFunction(1));
    EXPECT_FALSE(editing.ChooseMacro(1, 1));
    editing.ShowPage(KeyPage::Media);
    EXPECT_FALSE(editing.OfferKey(kA, false, false)) << "keys are taken on the single-key page";
    EXPECT_FALSE(editing.ChooseMedia(kMediaKeys));
    EXPECT_FALSE(editing.ChooseMedia(-1));
    EXPECT_FALSE(editing.Chosen());
}

// A choice is what OK writes, however many pages are looked at afterwards; the other pages then
// show nothing, since the key will hold the choice.
TEST(KeyEditing, AChoiceIsWrittenAfterLookingAtOtherPages) {
    struct Case {
        std::string name;
        int slot;
        KeyPage page;
        std::function<bool(KeyEditing&)> choose;
        Shown shown;
        KeyEntry written;
    };
    const Case cases[] = {
        {"key",
         kF9Slot,
         KeyPage::SingleKey,
         [](KeyEditing& e) { return e.OfferKey(kA, false, false); },
         {.page = KeyPage::SingleKey, .key = kA},
         {.type = kEntryKey, .value = kA}},
        {"the key itself",
         kF9Slot,
         KeyPage::SingleKey,
         [](KeyEditing& e) { return e.OfferKey(kF9, false, false); },
         {.page = KeyPage::SingleKey, .key = kF9},
         {}},
        {"media",
         kF9Slot,
         KeyPage::Media,
         [](KeyEditing& e) { return e.ChooseMedia(4); },
         {.page = KeyPage::Media, .media = 4},
         {.type = kEntryMedia, .value = 4}},
        {"function",
         kG1Slot,
         KeyPage::Function,
         [](KeyEditing& e) { return e.ChooseFunction(0); },
         {.page = KeyPage::Function, .function = 0},
         {.type = kEntryFunction, .aux = GKeyCodeOfSlot(kG1Slot), .value = 0}},
        {"macro",
         kG1Slot,
         KeyPage::Macro,
         [](KeyEditing& e) { return e.ChooseMacro(9, 0); },
         {.page = KeyPage::Macro, .macro = {9, 1}},
         {.type = kEntryMacro, .aux = 1, .value = 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeyEditing editing;
        editing.Open(c.slot, {.type = kEntryFunction, .value = 2}, false);
        editing.ShowPage(c.page);
        ASSERT_TRUE(c.choose(editing));
        for (const KeyPage page : kAllPages) {
            editing.ShowPage(page);
        }
        editing.ShowPage(c.page);
        ExpectShown(editing, c.shown);
        EXPECT_TRUE(editing.Chosen());
        EXPECT_EQ(Written(editing), c.written);
    }
}

TEST(KeyEditing, ClearGivesTheKeyItsDefault) {
    KeyEditing editing;
    editing.Open(kG1Slot, {.type = kEntryMedia, .aux = GKeyCodeOfSlot(kG1Slot), .value = 3}, false);
    editing.Clear();
    ExpectShown(editing, {.page = KeyPage::SingleKey});
    EXPECT_EQ(Written(editing), (KeyEntry{.aux = GKeyCodeOfSlot(kG1Slot)}));
}

TEST(KeyEditing, ApplyingMakesTheChoiceWhatTheKeyHolds) {
    KeyEditing editing;
    editing.Open(kF9Slot, {}, false);
    editing.OfferKey(kA, false, false);
    editing.Applied();
    EXPECT_FALSE(editing.Chosen());
    EXPECT_EQ(Written(editing), std::nullopt);
    editing.ShowPage(KeyPage::Media);
    editing.ShowPage(KeyPage::SingleKey);
    EXPECT_EQ(editing.ShownKey(), kA);
    EXPECT_FALSE(editing.Chosen());

    editing.Clear();
    EXPECT_TRUE(editing.Chosen());
    EXPECT_EQ(Written(editing), KeyEntry{});
}

}  // namespace
}  // namespace korvel
