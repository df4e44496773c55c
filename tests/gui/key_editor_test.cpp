#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include "gui/editors/editor_controls.h"
#include "gui/editors/korvel_dlg_composite.h"
#include "gui/editors/korvel_dlg_macro.h"
#include "gui/editors/macro_work_area.h"
#include "gui/main_window_fixture.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/widgets/png_button.h"
#include "model/image/config_store.h"
#include "model/keys/key_table_codec.h"

namespace korvel {
namespace {

// Kernel key codes; the xkb keycode in a key event's native scan code is 8 more.
constexpr quint32 kEvdevA = 30;
constexpr quint32 kEvdevB = 48;
constexpr quint32 kEvdevShift = 42;
constexpr quint32 kEvdevMute = 113;
constexpr quint32 kEvdevSysRq = 99;
constexpr quint32 kEvdevLeftMeta = 125;
constexpr quint32 kEvdevUnknown = 240;

struct Key {
    quint32 evdev;
    bool release = false;
    bool repeat = false;
};

class KeyEditorTest : public fixtures::MainWindowFixture {
protected:
    // A key event as the platform delivers it to the editor.
    static void Send(QWidget* target, Key key) {
        QKeyEvent event(key.release ? QEvent::KeyRelease : QEvent::KeyPress, Qt::Key_unknown,
                        Qt::NoModifier, key.evdev + 8, 0, 0, QString(), key.repeat);
        QApplication::sendEvent(target, &event);
    }
    static void Click(QWidget* control) { static_cast<CPngButton*>(control)->click(); }

    KeyEntry EntryOf(int slot, int profile = 0) {
        auto lock = store.EditingConfig().Lock();
        return store.EditingConfig().Image()->Entry(GlobalEntryIndex(profile, slot));
    }

    // Applies the window and answers the bytes of onboard profile 0's key table.
    std::vector<std::uint8_t> ApplyWindow(CKorvelDlg& window) {
        QSignalSpy finished(&window.Applier(), &ApplyController::applyFinished);
        window.Applier().Apply();
        EXPECT_TRUE(finished.wait(5000));
        const auto& tables = keyboard.Memory().keyTables;
        return {tables.begin(), tables.begin() + kKeyTableBytes};
    }

    // What `korvelctl encode` prints for profile 0 of the edited configuration, as bytes.
    std::vector<std::uint8_t> EncodedProfile0() {
        auto lock = store.EditingConfig().Lock();
        const KeyTableBytes bytes = EncodeKeyTable(
            store.EditingConfig().Image()->blocks[0], codec.DefaultKeyTable(),
            [&](std::uint16_t id) { return MacroIndexById(store.EditingConfig(), id); });
        return {bytes.begin(), bytes.end()};
    }
};

TEST_F(KeyEditorTest, SingleKeyPageTakesKeysFromTheKeyboard) {
    auto window = StartShown();
    const int slotA = SlotOfScan(0x01E);
    {
        // The keyboard plays B on A; every case starts from A's default.
        auto lock = store.EditingConfig().Lock();
        store.EditingConfig().Image()->Entry(GlobalEntryIndex(0, slotA)) = KeyEntry{};
    }
    struct Case {
        const char* what;
        std::vector<Key> keys;
        QString display;
        KeyEntry entry;
    };
    const Case cases[] = {
        {"A on A is A's default", {{kEvdevA}, {kEvdevA, true}}, "A", {kEntryDefault, 0, 0}},
        {"held B is taken once",
         {{kEvdevB}, {kEvdevB, false, true}, {kEvdevB, true}},
         "B",
         {kEntryKey, 0, 0x030}},
        {"left Super",
         {{kEvdevLeftMeta}, {kEvdevLeftMeta, true}},
         "Left Win",
         {kEntryKey, 0, 0x15B}},
        {"Print Screen delivering only its release",
         {{kEvdevSysRq, true}},
         "Print Screen",
         {kEntryKey, 0, 0x137}},
        {"a media key and an unknown key do nothing",
         {{kEvdevMute}, {kEvdevUnknown}},
         "",
         {kEntryDefault, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        window->Editors().OpenKeyEditor(kKeyA);
        Korvel_DlgComposite* editor = window->Editors().KeyEditor();
        ASSERT_TRUE(editor->isVisible());
        for (const Key& key : c.keys) {
            Send(editor, key);
        }
        EXPECT_EQ(editor->Editing().ShownKey() != 0, !c.display.isEmpty());
        auto* display = static_cast<QLineEdit*>(editor->Control(kSingleKeyDisplay));
        EXPECT_EQ(display->text().isEmpty(), c.display.isEmpty());
        EXPECT_EQ(editor->Control(kEditorApply)->isEnabled(), !c.display.isEmpty());
        Click(editor->Control(kEditorApply));
        EXPECT_EQ(EntryOf(slotA), c.entry);
        EXPECT_FALSE(editor->Control(kEditorApply)->isEnabled());
        Send(editor, {kEvdevB, false, true});
        EXPECT_FALSE(editor->Control(kEditorApply)->isEnabled()) << "auto-repeat takes nothing";
        Click(editor->Control(kEditorCancel));
        EXPECT_FALSE(editor->isVisible());
        // Back to the default for the next case.
        auto lock = store.EditingConfig().Lock();
        store.EditingConfig().Image()->Entry(GlobalEntryIndex(0, slotA)) = KeyEntry{};
    }
    window->Shutdown();
}

// The single-key page takes every key; from the keyboard alone it is left by pressing Tab or
// Escape a second time: Tab moves on and the page takes keys again once its key field has the
// focus, Escape closes the editor as Cancel does.
TEST_F(KeyEditorTest, TabOrEscapePressedTwiceLeavesTheSingleKeyPage) {
    constexpr quint32 kEvdevTab = 15;
    constexpr quint32 kEvdevEsc = 1;
    auto window = StartShown();
    window->Editors().OpenKeyEditor(kKeyA);
    Korvel_DlgComposite* editor = window->Editors().KeyEditor();
    QApplication::setActiveWindow(editor);
    auto* display = static_cast<QLineEdit*>(editor->Control(kSingleKeyDisplay));
    const auto press = [&](quint32 key) {
        Send(editor, {key});
        Send(editor, {key, true});
    };
    press(kEvdevTab);
    EXPECT_EQ(display->text(), "Tab") << "the first Tab is the key chosen";
    press(kEvdevTab);
    EXPECT_EQ(display->text(), "Tab");
    QWidget* reached = QApplication::focusWidget();
    ASSERT_NE(reached, nullptr);
    EXPECT_NE(reached, display) << "the second moved on";
    press(kEvdevB);
    EXPECT_EQ(display->text(), "Tab") << "no key is taken away from the key field";

    display->setFocus(Qt::TabFocusReason);
    press(kEvdevB);
    EXPECT_EQ(display->text(), "B") << "back in the key field, keys are taken again";

    press(kEvdevEsc);
    EXPECT_EQ(display->text(), "Esc");
    EXPECT_TRUE(editor->isVisible());
    press(kEvdevEsc);
    ASSERT_TRUE(fixtures::PumpUntil([&] { return !editor->isVisible(); }));
    EXPECT_EQ(EntryOf(SlotOfScan(0x01E)).type, kEntryKey) << "Cancel wrote nothing: A plays B";
    window->Shutdown();
}

TEST_F(KeyEditorTest, AppliedKeyReachesTheKeyboardAsEncoded) {
    auto window = StartShown();
    for (auto [evdev, code] : {std::pair{kEvdevA, 0x04}, {kEvdevB, 0x05}}) {
        window->Editors().OpenKeyEditor(kKeyA);
        Send(window->Editors().KeyEditor(), {evdev});
        Click(window->Editors().KeyEditor()->Control(kEditorOk));
        EXPECT_FALSE(window->Editors().KeyEditor()->isVisible());
        EXPECT_TRUE(window->Applier().IsModified());
        const std::vector<std::uint8_t> table = ApplyWindow(*window);
        EXPECT_EQ(table, EncodedProfile0());
        EXPECT_EQ(table[19 * 3 + 2], code) << "matrix position 19 is key A";
    }
    window->Shutdown();
}

TEST_F(KeyEditorTest, GKeyMacroCarriesCyclesAndClearingGivesBackTheGCode) {
    auto window = StartShown();
    const int g1 = GKeySlot(1, GKeyBank::A);
    window->Editors().OpenKeyEditor(kKeyG1);
    Korvel_DlgComposite* editor = window->Editors().KeyEditor();
    Click(editor->Control(kPageMacro));
    EXPECT_TRUE(editor->Control(kMacroSteps)->isVisible());
    EXPECT_FALSE(editor->Control(kSingleKeyDisplay)->isVisible());
    Click(editor->Control(kMacroAdd));
    EXPECT_EQ(static_cast<QComboBox*>(editor->Control(kMacroPageList))->currentText(), "Macro1");
    auto* cycles = static_cast<QLineEdit*>(editor->Control(kMacroCycles));
    cycles->setText("300");
    emit cycles->textEdited(cycles->text());
    EXPECT_EQ(cycles->text(), "255");
    cycles->setText("3");
    emit cycles->textEdited(cycles->text());
    Click(editor->Control(kEditorOk));
    EXPECT_EQ(EntryOf(g1), (KeyEntry{kEntryMacro, 3, 1}));
    EXPECT_EQ(window->Keys().GKeyButton(1)->toolTip().toStdU16String().find(u"Macro1") !=
                  std::u16string::npos,
              true);

    window->Editors().OpenKeyEditor(kKeyG1);
    EXPECT_EQ(editor->Editing().Page(), KeyPage::Macro);
    Click(editor->Control(kCompositeClear));
    EXPECT_EQ(editor->Editing().Page(), KeyPage::SingleKey);
    Click(editor->Control(kEditorOk));
    EXPECT_EQ(EntryOf(g1), (KeyEntry{kEntryDefault, 0x0301, 0}));
    window->Shutdown();
}

TEST_F(KeyEditorTest, G9OpensOnTheMacroPageOnlyAndBlocksProfileSwitches) {
    auto window = StartShown();
    window->Editors().OpenKeyEditor(kKeyG9);
    Korvel_DlgComposite* editor = window->Editors().KeyEditor();
    EXPECT_EQ(editor->Editing().Page(), KeyPage::Macro);
    for (int id : {kPageSingleKey, kPageMedia, kPageFunction, kCompositeClear}) {
        EXPECT_FALSE(editor->Control(id)->isEnabled()) << id;
    }
    EXPECT_TRUE(editor->Control(kPageMacro)->isEnabled());
    EXPECT_FALSE(window->Switcher().SwitchProfile(1));
    Click(editor->Control(kEditorCancel));
    EXPECT_TRUE(window->Switcher().SwitchProfile(1));
    window->Shutdown();
}

TEST_F(KeyEditorTest, EditorsAreBuiltOnFirstOpeningAndKept) {
    auto window = StartShown();
    EXPECT_EQ(window->Editors().KeyEditor(), nullptr);
    EXPECT_EQ(window->Editors().MacroEditor(), nullptr);
    EXPECT_TRUE(window->Switcher().SwitchProfile(1)) << "no editor built, none open";
    window->Editors().OpenMacroEditor();
    CKorvel_DlgMacro* macros = window->Editors().MacroEditor();
    ASSERT_NE(macros, nullptr);
    EXPECT_TRUE(macros->isVisible());
    EXPECT_EQ(window->Editors().KeyEditor(), nullptr);
    window->Editors().OpenKeyEditor(kKeyA);
    EXPECT_EQ(window->Editors().KeyEditor(), nullptr) << "refused while the macro editor is open";
    Click(macros->Control(kEditorCancel));
    window->Editors().OpenKeyEditor(kKeyA);
    Korvel_DlgComposite* keys = window->Editors().KeyEditor();
    ASSERT_NE(keys, nullptr);
    EXPECT_TRUE(keys->isVisible());
    Click(keys->Control(kEditorCancel));
    window->Editors().OpenKeyEditor(kKeyB);
    EXPECT_EQ(window->Editors().KeyEditor(), keys);
    window->Editors().OpenMacroEditor();
    EXPECT_EQ(window->Editors().MacroEditor(), macros) << "refused while the key editor is open";
    EXPECT_FALSE(macros->isVisible());
    Click(keys->Control(kEditorCancel));
    window->Editors().OpenMacroEditor();
    EXPECT_EQ(window->Editors().MacroEditor(), macros);
    EXPECT_TRUE(macros->isVisible());
    Click(macros->Control(kEditorCancel));
    window->Shutdown();
}

TEST_F(KeyEditorTest, KeyboardGoingAwayBeforeAnyEditorWasOpened) {
    auto window = StartShown();
    keyboard.SetPlugged(false);
    ASSERT_TRUE(fixtures::PumpUntil([&] { return !window->isVisible(); }));
    EXPECT_EQ(window->Editors().KeyEditor(), nullptr);
    EXPECT_EQ(window->Editors().MacroEditor(), nullptr);
    window->Shutdown();
}

TEST_F(KeyEditorTest, UnknownActiveProfileOpensReadOnly) {
    auto window = StartShown();
    keyboard.SetPlugged(false);
    ASSERT_TRUE(fixtures::PumpUntil([&] { return !window->isVisible(); }));
    link.SetActiveProfileCache(-1);
    const ConfigImage before = [&] {
        auto lock = store.EditingConfig().Lock();
        return *store.EditingConfig().Image();
    }();
    window->Editors().OpenKeyEditor(kKeyA);
    Korvel_DlgComposite* editor = window->Editors().KeyEditor();
    EXPECT_TRUE(editor->ReadOnly());
    Send(editor, {kEvdevB});
    EXPECT_FALSE(editor->Control(kEditorApply)->isEnabled());
    EXPECT_FALSE(editor->Control(kEditorOk)->isEnabled());
    editor->Apply();
    Click(editor->Control(kEditorCancel));
    auto lock = store.EditingConfig().Lock();
    EXPECT_EQ(*store.EditingConfig().Image(), before);
    window->Shutdown();
}

TEST_F(KeyEditorTest, MacroEditorAsksAboutHeldKeysAndKeepsTheCap) {
    auto window = StartShown();
    window->Editors().OpenMacroEditor();
    CKorvel_DlgMacro* editor = window->Editors().MacroEditor();
    ASSERT_TRUE(editor->isVisible());
    Click(editor->Control(kMacroAdd));
    Click(editor->Control(kMacroRecord));
    ASSERT_TRUE(editor->MacroArea().Recording());
    Send(editor, {kEvdevShift});
    Send(editor, {kEvdevShift, false, true});
    EXPECT_EQ(editor->MacroArea().List().Steps().Size(), 1);
    Click(editor->Control(kMacroRecord));  // the question's default answer is No
    EXPECT_TRUE(editor->MacroArea().Recording());
    ASSERT_FALSE(prompts.Shown().empty());
    EXPECT_NE(prompts.Shown().back().text.find(u"[Shift] "), std::u16string::npos);
    prompts.QueueAnswer(Answer::Yes);
    Click(editor->Control(kMacroRecord));
    EXPECT_FALSE(editor->MacroArea().Recording());
    // OK warns that the macro never releases Shift; the default answer adds the release.
    Click(editor->Control(kEditorOk));
    EXPECT_FALSE(editor->isVisible());
    const ShownPrompt warning = prompts.Shown().back();
    EXPECT_TRUE(warning.isQuestion);
    EXPECT_NE(warning.text.find(u"\" presses Shift and never releases it"), std::u16string::npos)
        << QString::fromStdU16String(warning.text).toStdString();
    EXPECT_TRUE(window->Applier().IsModified());
    {
        auto lock = store.EditingConfig().Lock();
        ASSERT_EQ(store.EditingConfig().Macros().size(), 1u);
        const std::vector<MacroAction>& actions = store.EditingConfig().Macros()[0].actions;
        ASSERT_EQ(actions.size(), 2u);
        EXPECT_EQ(actions[1].direction, kMacroRelease);
        EXPECT_EQ(actions[1].key, actions[0].key);
        std::vector<MacroRecord> full(kMaxMacros);
        for (int i = 0; i < kMaxMacros; ++i) {
            full[static_cast<std::size_t>(i)].macroId = static_cast<std::uint16_t>(i + 1);
            full[static_cast<std::size_t>(i)].name = u"M" + std::u16string(1, u'a' + i % 26);
        }
        store.EditingConfig().SetMacros(full);
    }
    window->Editors().OpenMacroEditor();
    Click(editor->Control(kMacroAdd));
    EXPECT_TRUE(
        prompts.Shown().back().text.starts_with(u"No more macros can be added: 100 is the most"));
    EXPECT_EQ(editor->MacroList().rowCount(), kMaxMacros);
    Click(editor->Control(kEditorCancel));
    window->Shutdown();
}

TEST_F(KeyEditorTest, KeyboardGoingAwayStopsTheRecorderAndReleasesTheGrab) {
    auto window = StartShown();
    window->Editors().OpenKeyEditor(kKeyA);
    EXPECT_EQ(QWidget::keyboardGrabber(), window->Editors().KeyEditor()) << "the single-key page";
    Click(window->Editors().KeyEditor()->Control(kPageMedia));
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    Click(window->Editors().KeyEditor()->Control(kPageSingleKey));
    window->Editors().KeyEditor()->CancelEditor();
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);

    window->Editors().OpenMacroEditor();
    CKorvel_DlgMacro* editor = window->Editors().MacroEditor();
    Click(editor->Control(kMacroAdd));
    Click(editor->Control(kMacroRecord));
    ASSERT_TRUE(editor->MacroArea().Recording());
    EXPECT_EQ(QWidget::keyboardGrabber(), editor);
    keyboard.SetPlugged(false);
    ASSERT_TRUE(fixtures::PumpUntil([&] { return !editor->isVisible(); }));
    EXPECT_FALSE(editor->MacroArea().Recording());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    Send(window.get(), {kEvdevShift});
    EXPECT_EQ(editor->MacroArea().List().Count(), 0) << "nothing is recorded any more";

    window->Shutdown();
}

TEST_F(KeyEditorTest, DelayCellsAreEditedInPlace) {
    auto window = StartShown();
    window->Editors().OpenKeyEditor(kKeyG5);
    Korvel_DlgComposite* editor = window->Editors().KeyEditor();
    Click(editor->Control(kPageMacro));
    Click(editor->Control(kMacroAdd));
    Click(editor->Control(kMacroRecord));
    Send(editor, {kEvdevA});
    Send(editor, {kEvdevA, true});
    auto* table = static_cast<QTableWidget*>(editor->Control(kMacroSteps));
    ASSERT_EQ(table->rowCount(), 2);
    // What a delay is kept as shows while it is typed; it is never rounded to 0.
    struct Case {
        const char* typed;
        const char* hint;
        const char* shown;
    };
    for (const Case& c : {Case{"7", "Kept as 10 ms", "10"}, Case{"59", "Kept as 60 ms", "60"},
                          Case{"12345", "Kept as 12350 ms", "12350"}, Case{"120", "", "120"},
                          Case{"45000", "Kept as 40000 ms", "40000"}}) {
        SCOPED_TRACE(c.typed);
        table->setCurrentCell(0, 2);
        table->editItem(table->item(0, 2));
        EXPECT_FALSE(editor->MacroArea().Recording()) << "editing a delay stops the recorder";
        auto* cell = qobject_cast<QLineEdit*>(table->indexWidget(table->model()->index(0, 2)));
        ASSERT_NE(cell, nullptr);
        cell->clear();
        QTest::keyClicks(cell, c.typed);
        EXPECT_EQ(cell->toolTip(), c.hint);
        editor->MacroArea().FinishEdit();
        EXPECT_EQ(table->item(0, 2)->text(), c.shown);
    }
    // Enter commits as well, and no editor is closed twice (Qt would log it).
    static int doubleCloses = 0;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
            doubleCloses += message.contains(QStringLiteral("closeEditor"));
        });
    table->setCurrentCell(0, 2);
    table->editItem(table->item(0, 2));
    auto* cell = qobject_cast<QLineEdit*>(table->indexWidget(table->model()->index(0, 2)));
    ASSERT_NE(cell, nullptr);
    cell->clear();
    QTest::keyClicks(cell, "45000");
    QTest::keyClick(cell, Qt::Key_Return);
    QCoreApplication::processEvents();
    qInstallMessageHandler(previous);
    EXPECT_EQ(doubleCloses, 0);
    EXPECT_EQ(table->item(0, 2)->text(), "40000");
    EXPECT_TRUE(prompts.Shown().back().text.starts_with(u"A delay can be at most 40000 ms."));
    EXPECT_EQ(editor->MacroArea().List().Steps().Actions()[0].delayMs, 40000u);
    Click(editor->Control(kEditorCancel));
    window->Shutdown();
}

TEST(KeyEditorPlacement, BesideTheClickedButton) {
    const QRect screen(0, 0, 1400, 900);
    const QSize dialog(600, 440);
    struct Case {
        QRect button;
        QPoint corner;
    };
    const Case cases[] = {
        {QRect(100, 100, 40, 40), QPoint(140, 140)},    // right and below
        {QRect(100, 600, 40, 40), QPoint(140, 160)},    // right and above
        {QRect(900, 100, 40, 40), QPoint(300, 140)},    // left and below
        {QRect(900, 600, 40, 40), QPoint(300, 160)},    // left and above
        {QRect(500, 300, 400, 300), QPoint(900, 600)},  // fits nowhere
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Korvel_DlgComposite::PlaceBeside(c.button, dialog, screen), c.corner);
    }
}

// Looking at a page chooses nothing: OK after only showing the multimedia page leaves the key as
// it was; a choice made on one page is written even after looking at another.
TEST_F(KeyEditorTest, LookingAtAPageChoosesNothing) {
    auto window = StartShown();
    const int slotF9 = SlotOfKeyControl(kKeyF9);
    window->Editors().OpenKeyEditor(kKeyF9);
    Korvel_DlgComposite* editor = window->Editors().KeyEditor();
    Click(editor->Control(kPageMedia));
    EXPECT_EQ(static_cast<QComboBox*>(editor->Control(kMediaList))->currentIndex(), -1);
    EXPECT_FALSE(editor->Control(kEditorApply)->isEnabled());
    Click(editor->Control(kEditorOk));
    EXPECT_EQ(EntryOf(slotF9), KeyEntry{});

    window->Editors().OpenKeyEditor(kKeyF9);
    Click(editor->Control(kPageMedia));
    auto* media = static_cast<QComboBox*>(editor->Control(kMediaList));
    media->setCurrentIndex(4);
    emit media->activated(4);
    Click(editor->Control(kPageFunction));
    EXPECT_EQ(static_cast<QComboBox*>(editor->Control(kFunctionList))->currentIndex(), -1);
    Click(editor->Control(kEditorOk));
    EXPECT_EQ(EntryOf(slotF9), (KeyEntry{kEntryMedia, 0, 4}));
    window->Shutdown();
}

}  // namespace
}  // namespace korvel
