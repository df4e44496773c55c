#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QTreeWidget>

#include "gui/main_window_fixture.h"
#include "gui/mainwnd/program_rules_dialog.h"
#include "gui/mainwnd/window_parts.h"

namespace korvel {
namespace {

class ProgramRulesDialogTest : public fixtures::MainWindowFixture {};

TEST_F(ProgramRulesDialogTest, RulesAreAddedOrderedRemovedAndGivenBackInTheirOrder) {
    auto window = Start();
    ProgramRules rules;
    rules.rules = {{u"firefox", 1}, {u"gimp", 2}};
    WindowParts& parts = window->Parts();
    ProgramRulesDialog dialog(parts, rules, {"blender", "xterm"}, true, window.get());
    EXPECT_EQ(dialog.Rules(), rules) << "shown as they are";
    EXPECT_EQ(dialog.findChild<QLabel*>("waylandNotice"), nullptr);

    dialog.AddProgram("blender");
    dialog.AddProgram("FIREFOX");  // already there: selected, not added twice
    dialog.MoveSelected(1);        // firefox below gimp
    auto* otherwise = dialog.findChild<QComboBox*>("otherwise");
    otherwise->setCurrentIndex(3);  // profile 3
    ProgramRules expected;
    expected.rules = {{u"gimp", 2}, {u"firefox", 1}, {u"blender", 0}};
    expected.otherwise = 2;
    EXPECT_EQ(dialog.Rules(), expected);

    dialog.RemoveSelected();  // firefox, still selected after its move
    expected.rules.erase(expected.rules.begin() + 1);
    EXPECT_EQ(dialog.Rules(), expected);

    ProgramRulesDialog wayland(parts, {}, {}, false, window.get());
    auto* notice = wayland.findChild<QLabel*>("waylandNotice");
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->text().contains("SetActiveProgram"));
}

}  // namespace
}  // namespace korvel
