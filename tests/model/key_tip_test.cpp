#include <gtest/gtest.h>

#include "model/keys/key_codec.h"
#include "model/keys/key_tip.h"

namespace korvel {
namespace {

TEST(KeyTip, TextsOfEveryKindOfAssignment) {
    KeyCodec codec;
    KeyTexts names;
    names.mediaNames[1] = u"Play/Pause";
    codec.SetTexts(names);
    MacroRecord fire;
    fire.macroId = 7;
    fire.name = u"Fire";
    const std::vector<MacroRecord> macros = {fire};

    struct Case {
        std::u16string label;
        KeyEntry entry;
        std::u16string text;
        bool assigned;
    };
    const Case cases[] = {
        {u"A", {kEntryKey, 0, 0x030}, u"AKeys, Set: Key(B)", true},
        {u"G3", {kEntryMacro, 0, 7}, u"G3Keys, Set: Macro(Fire)", true},
        {u"G3", {kEntryMacro, 0, 0x10007}, u"G3Keys, Set: Macro(Fire)", true},
        {u"Esc", {kEntryDisabled, 0, 0}, u"EscKeys, Set: ", true},
        {u"Esc", {kEntryDefault, 0, 0x030}, u"Esc", false},
        {u"Tab", {kEntryMacro, 0, 42}, u"TabKeys, Set: Macro()", true},
        {u"F1", {kEntryMedia, 0, 1}, u"F1Keys, Set: Media(Play/Pause)", true},
        {u"F1", {kEntryMedia, 0, 99}, u"F1Keys, Set: Media()", true},
        {u"F2", {kEntryFunction, 0, 0}, u"F2Keys, Set: Function(Open)", true},
        {u"F2", {kEntryFunction, 0, 9}, u"F2Keys, Set: Function()", true},
        {u"F3", {kEntryText, 0, 18}, u"F3Keys, Set: ", true},
    };
    for (const Case& c : cases) {
        const KeyTip tip = KeyTipText(c.label, c.entry, codec, macros);
        EXPECT_EQ(tip.text, c.text);
        EXPECT_EQ(tip.assigned, c.assigned);
    }
}

TEST(KeyTip, LocalisedPieces) {
    KeyCodec codec;
    KeyTipTexts texts{u"键设置:", u"按键(", u"宏(", u"多媒体(", u"功能(", u")"};
    EXPECT_EQ(KeyTipText(u"A", {kEntryKey, 0, 0x030}, codec, {}, texts).text, u"A键设置:按键(B)");
}

}  // namespace
}  // namespace korvel
