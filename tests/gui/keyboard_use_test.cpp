// The skinned windows used from the keyboard: Tab reaches every control and frames it in the
// accent colour, Enter and Space press it, Escape closes each dialog as its Cancel does.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <algorithm>
#include <functional>
#include <vector>

#include "gui/editors/korvel_dlg_composite.h"
#include "gui/editors/korvel_dlg_macro.h"
#include "gui/editors/profile_dialog.h"
#include "gui/main_window_fixture.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/skin/folder_skin.h"
#include "gui/skin/skin_palette.h"
#include "gui/widgets/base_dialog.h"
#include "gui/widgets/keyboard_focus.h"
#include "gui/widgets/png_button.h"

namespace korvel {
namespace {

using fixtures::PumpUntil;

// A plain skinned dialog with three image buttons, shown and active.
class SkinnedDialog : public ::testing::Test {
protected:
    SkinnedDialog() {
        QImage background(200, 60, QImage::Format_RGB32);
        background.fill(Qt::gray);
        background.save(dir.filePath("back.png"));
        QFile ini(dir.filePath("D.ini"));
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[SCREEN]\nMain=back.png\n");
        ini.close();
        const std::filesystem::path folder = dir.path().toStdU16String();
        skin = MakeFolderSkin(SkinFile{folder / "D.ini", folder}, noTexts, CaptionLanguage::Table);
        dialog = std::make_unique<CBaseDialog>(nullptr, skin);
        EXPECT_TRUE(dialog->ApplySkin());
        for (int i = 0; i < 3; ++i) {
            buttons[i] = new CPngButton(dialog.get());
            buttons[i]->setGeometry(10 + 60 * i, 10, 50, 40);
            buttons[i]->setToolTip(QStringLiteral("tip %1").arg(i));
        }
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    QTemporaryDir dir;
    TextTable noTexts{std::filesystem::path("no-such-folder") / "language.ini"};
    std::shared_ptr<const DialogSkin> skin;
    std::unique_ptr<CBaseDialog> dialog;
    CPngButton* buttons[3] = {};

    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : dialog.get(), key, modifiers);
    }
};

TEST_F(SkinnedDialog, TabAndShiftTabWalkTheButtonsInOrderAndAClickTakesNoFocus) {
    const auto focused = [this] {
        for (int i = 0; i < 3; ++i) {
            if (buttons[i]->hasFocus()) {
                return i;
            }
        }
        return -1;
    };
    const int before = focused();
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    EXPECT_EQ(focused(), before) << "the mouse works as it did";
    // Round and round, in the order the controls were laid out.
    for (int step = 1; step <= 4; ++step) {
        Press(Qt::Key_Tab);
        EXPECT_EQ(focused(), (before + step + 3) % 3) << step;
    }
    const int at = focused();
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), (at + 2) % 3);
    // The tip of the control reached stays after the key that moved there is released.
    QCoreApplication::processEvents();
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("tip %1").arg(focused()));
}

TEST_F(SkinnedDialog, EnterAndSpacePressTheFocusedButtonOnly) {
    QSignalSpy first(buttons[0], &QAbstractButton::clicked);
    QSignalSpy second(buttons[1], &QAbstractButton::clicked);
    // Freshly shown, no control holds the focus unseen: Enter presses nothing.
    for (CPngButton* button : buttons) {
        EXPECT_FALSE(button->hasFocus());
    }
    QTest::keyClick(dialog.get(), Qt::Key_Return);
    EXPECT_EQ(first.count() + second.count(), 0);
    buttons[1]->setFocus(Qt::TabFocusReason);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        QTest::keyClick(buttons[1], key);
    }
    EXPECT_EQ(second.count(), 3);
    EXPECT_EQ(first.count(), 0);
    EXPECT_TRUE(dialog->isVisible()) << "Enter closes nothing";
    buttons[1]->setEnabled(false);
    buttons[0]->setFocus(Qt::TabFocusReason);
    QTest::keyClick(buttons[0], Qt::Key_Return);
    EXPECT_EQ(first.count(), 1);
}

TEST_F(SkinnedDialog, TheFocusedButtonWearsAnAccentRingThatTheMouseDoesNotShow) {
    buttons[0]->setFocus(Qt::MouseFocusReason);
    EXPECT_TRUE(FocusRingOf(*dialog) == nullptr || !FocusRingOf(*dialog)->isVisible());

    buttons[1]->setFocus(Qt::TabFocusReason);
    // What the mouse would learn by resting on it, the keyboard learns at once.
    QCoreApplication::processEvents();
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "tip 1");
    FocusRing* ring = FocusRingOf(*dialog);
    ASSERT_NE(ring, nullptr);
    EXPECT_TRUE(ring->isVisible());
    EXPECT_EQ(ring->Surrounded(), buttons[1]);
    EXPECT_TRUE(ring->geometry().contains(buttons[1]->geometry()));
    EXPECT_TRUE(ring->testAttribute(Qt::WA_TransparentForMouseEvents));
    // The ring is drawn in the skin's accent colour, over the button's edge.
    const QImage shown = dialog->grab().toImage();
    const QPoint edge(ring->geometry().left() + 1, ring->geometry().center().y());
    EXPECT_EQ(shown.pixelColor(edge).rgb() & 0xffffff, skin_palette::kAccent);

    buttons[2]->setFocus(Qt::BacktabFocusReason);
    EXPECT_EQ(ring->Surrounded(), buttons[2]);
    buttons[0]->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(ring->isVisible());
}

// Tab follows the controls' places, row by row from the top, whatever order they were made in.
TEST_F(SkinnedDialog, TabFollowsThePlacesRowByRow) {
    dialog->hide();
    CBaseDialog placed(nullptr, skin);
    ASSERT_TRUE(placed.ApplySkin());
    auto* right = new CPngButton(&placed);
    right->setGeometry(120, 32, 40, 20);
    auto* left = new CPngButton(&placed);
    left->setGeometry(10, 34, 40, 20);  // the same row, a little lower
    auto* top = new CPngButton(&placed);
    top->setGeometry(60, 4, 40, 20);
    placed.show();
    QApplication::setActiveWindow(&placed);
    std::vector<QWidget*> walked;
    for (int i = 0; i < 3; ++i) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : &placed, Qt::Key_Tab);
        walked.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(walked, (std::vector<QWidget*>{top, left, right}));
}

// Each dialog of the window, opened, and whether it is still open.
struct DialogCase {
    const char* name;
    std::function<QWidget*(CKorvelDlg&)> open;
};

using WindowKeyboard = fixtures::MainWindowFixture;

TEST_F(WindowKeyboard, EscapeClosesEveryDialogAsItsCancelDoes) {
    auto window = StartShown();
    const DialogCase cases[] = {
        {"key editor",
         [](CKorvelDlg& w) -> QWidget* {
             w.Editors().OpenKeyEditor(kKeyA);
             return w.Editors().KeyEditor();
         }},
        {"macro editor",
         [](CKorvelDlg& w) -> QWidget* {
             w.Editors().OpenMacroEditor();
             return w.Editors().MacroEditor();
         }},
        {"profile manager",
         [](CKorvelDlg& w) -> QWidget* {
             w.Dialogs().OpenProfileManager();
             return w.Dialogs().ProfileManager();
         }},
        {"main window", [](CKorvelDlg& w) -> QWidget* { return &w; }},
    };
    for (const DialogCase& c : cases) {
        SCOPED_TRACE(c.name);
        QPointer<QWidget> dialog = c.open(*window);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(dialog->isVisible());
        QTest::keyClick(dialog, Qt::Key_Escape);
        EXPECT_TRUE(PumpUntil([&] { return dialog == nullptr || !dialog->isVisible(); }));
    }
    EXPECT_FALSE(window->Applier().IsModified()) << "nothing was changed on the way out";
    window->Shutdown();
}

TEST_F(WindowKeyboard, EnterOnAFocusedKeyOpensItsEditor) {
    auto window = StartShown();
    QApplication::setActiveWindow(window.get());
    KeyA(*window)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(KeyA(*window), Qt::Key_Return);
    ASSERT_NE(window->Editors().KeyEditor(), nullptr);
    EXPECT_TRUE(window->Editors().KeyEditor()->isVisible());
    window->Shutdown();
}

// Tab walks the whole window once round, top to bottom, and Shift+Tab walks back.
TEST_F(WindowKeyboard, TabWalksTheWindowInReadingOrder) {
    auto window = StartShown();
    QApplication::setActiveWindow(window.get());
    QWidget* link = window->Control(kControlLink);
    // The first Tab of a window that nothing has the focus in starts at the top.
    window->setFocus();
    QTest::keyClick(window.get(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), link);
    std::vector<QWidget*> walked{link};
    for (int i = 0; i < 400; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == link) {
            break;
        }
        walked.push_back(QApplication::focusWidget());
    }
    ASSERT_EQ(QApplication::focusWidget(), link) << "once round, back at the start";
    // Every control a user can reach, once each.
    int reachable = 0;
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if ((child->focusPolicy() & Qt::TabFocus) && child->isVisible() && child->isEnabled() &&
            child->window() == window.get()) {
            ++reachable;
            EXPECT_EQ(std::count(walked.begin(), walked.end(), child), 1)
                << child->objectName().toStdString();
        }
    }
    EXPECT_EQ(static_cast<int>(walked.size()), reachable);
    const auto at = [&](QWidget* control) {
        return std::find(walked.begin(), walked.end(), control) - walked.begin();
    };
    KeyGrid& keys = window->Keys();
    EXPECT_EQ(at(window->Control(kControlClose)), 4) << "the title strip first";
    EXPECT_EQ(at(keys.GKeyButton(1)), 5);
    EXPECT_EQ(at(window->Control(kFlipToggleLeft)), at(keys.ButtonOfControl(kKeyEsc)) + 1);
    EXPECT_EQ(at(keys.FnButton()), at(keys.ButtonOfControl(kKeyRightAlt)) + 1);
    EXPECT_LT(at(window->Lighting().Control(kPanelSwitch)), at(window->Control(kProfileButton1)))
        << "the lighting panel before the profile bar";
    EXPECT_EQ(walked.back(), window->Control(kControlCancel));
    EXPECT_EQ(walked[walked.size() - 2], window->Control(kControlOk));

    QTest::keyClick(link, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), window->Control(kControlCancel));
    window->Shutdown();
}

}  // namespace
}  // namespace korvel
