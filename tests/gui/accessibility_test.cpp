// What a screen reader finds: every interactive control of the main window and of each dialog
// has a name, in either language.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QSignalSpy>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

#include "gui/editors/about_dialog.h"
#include "gui/editors/korvel_dlg_composite.h"
#include "gui/editors/korvel_dlg_macro.h"
#include "gui/editors/profile_dialog.h"
#include "gui/editors/update_dialog.h"
#include "gui/main_window_fixture.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/widgets/accessible_controls.h"
#include "gui/widgets/image_slider.h"
#include "gui/widgets/keyboard_focus.h"
#include "gui/widgets/png_button.h"

namespace korvel {
namespace {

using fixtures::PumpUntil;

bool Interactive(QAccessible::Role role) {
    switch (role) {
        case QAccessible::Button:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
        case QAccessible::Slider:
        case QAccessible::SpinBox:
        case QAccessible::Table:
        case QAccessible::List:
        case QAccessible::PageTab:
            return true;
        default:
            return false;
    }
}

// Containers whose items name themselves by their content.
bool NamesItsOwnItems(QAccessible::Role role) {
    return role == QAccessible::Table || role == QAccessible::List || role == QAccessible::ComboBox;
}

std::string Describe(QAccessibleInterface& item) {
    QObject* object = item.object();
    return std::to_string(item.role()) + " " +
           (object != nullptr ? std::string(object->metaObject()->className()) + " '" +
                                    object->objectName().toStdString() + "'"
                              : std::string("(no object)"));
}

// Walks the accessibility tree below `item`, gathering the interactive controls without a name
// and counting those with one.
void Walk(QAccessibleInterface* item, std::vector<std::string>& unnamed, int& named) {
    if (item == nullptr || !item->isValid()) {
        return;
    }
    if (Interactive(item->role())) {
        if (item->text(QAccessible::Name).trimmed().isEmpty()) {
            unnamed.push_back(Describe(*item));
        } else {
            ++named;
        }
        if (NamesItsOwnItems(item->role())) {
            return;
        }
    }
    for (int i = 0; i < item->childCount(); ++i) {
        Walk(item->child(i), unnamed, named);
    }
}

// Every interactive control of `window`; fails naming the ones without a name.
void ExpectEveryControlNamed(QWidget* window, const char* what) {
    ASSERT_NE(window, nullptr) << what;
    std::vector<std::string> unnamed;
    int named = 0;
    Walk(QAccessible::queryAccessibleInterface(window), unnamed, named);
    EXPECT_GT(named, 0) << what;
    for (const std::string& control : unnamed) {
        ADD_FAILURE() << what << ": no name for " << control;
    }
}

class Accessibility : public fixtures::MainWindowFixture {};

TEST_F(Accessibility, EveryInteractiveControlOfEveryWindowHasANameInBothLanguages) {
    auto window = StartShown();
    for (const int language : {1, 0}) {
        SCOPED_TRACE(language == 1 ? "English" : "Chinese");
        window->SwitchLanguage(language);
        ExpectEveryControlNamed(window.get(), "main window");

        window->Editors().OpenKeyEditor(kKeyA);
        ExpectEveryControlNamed(window->Editors().KeyEditor(), "key editor");
        window->Editors().KeyEditor()->close();

        window->Editors().OpenMacroEditor();
        ExpectEveryControlNamed(window->Editors().MacroEditor(), "macro editor");
        window->Editors().MacroEditor()->close();

        window->Dialogs().OpenProfileManager();
        ExpectEveryControlNamed(window->Dialogs().ProfileManager(), "profile manager");
        window->Dialogs().ProfileManager()->close();

        window->Dialogs().ShowAbout();
        auto* about = window->findChild<CAboutDlg*>();
        ExpectEveryControlNamed(about, "about box");
        about->close();

        // The update dialog runs modally: it is read while it runs.
        QTimer::singleShot(0, window.get(), [&] {
            ExpectEveryControlNamed(window->Dialogs().UpdateDialog(), "update dialog");
            window->Dialogs().UpdateDialog()->reject();
        });
        window->Dialogs().OpenUpdateDialog();
    }
    window->Shutdown();
}

// A key says what it is and what it does, in the user's language.
TEST_F(Accessibility, AKeySaysWhatItIsAndWhatItDoes) {
    auto window = StartShown();
    const auto nameOf = [](QWidget* control) {
        return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
    };
    EXPECT_EQ(nameOf(KeyA(*window)), "A, sends B");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(KeyA(*window))->role(), QAccessible::Button);
    const QString esc = nameOf(window->Keys().ButtonOfControl(kKeyEsc));
    EXPECT_TRUE(esc.startsWith("Esc, ")) << esc.toStdString();
    window->SwitchLanguage(0);
    EXPECT_EQ(nameOf(KeyA(*window)), QString::fromUtf8("A，发送 B"));
    window->Shutdown();
}

// The skinned controls Qt cannot describe itself: an image button is a button that can be
// pressed, an image slider a slider whose value moves it as the user would.
TEST(SkinnedAccessibility, ImageButtonsPressAndImageSlidersMove) {
    InstallSkinnedAccessibility();
    QWidget window;
    auto* button = new CPngButton(&window);
    button->setToolTip("Help");
    auto* slider = new CImageSlider(6, &window);
    slider->setAccessibleName("Brightness");
    QAccessibleInterface* pressable = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(pressable, nullptr);
    EXPECT_EQ(pressable->role(), QAccessible::Button);
    EXPECT_EQ(pressable->text(QAccessible::Name), "Help") << "named by its tooltip";
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    pressable->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);

    QAccessibleInterface* movable = QAccessible::queryAccessibleInterface(slider);
    ASSERT_NE(movable, nullptr);
    EXPECT_EQ(movable->role(), QAccessible::Slider);
    EXPECT_EQ(movable->text(QAccessible::Name), "Brightness");
    ASSERT_NE(movable->valueInterface(), nullptr);
    EXPECT_EQ(movable->valueInterface()->maximumValue().toInt(), 5);
    QSignalSpy moved(slider, &CImageSlider::moved);
    movable->valueInterface()->setCurrentValue(3);
    EXPECT_EQ(slider->Position(), 3);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved[0][0].toInt(), 3);

    MakeShowOnly(*button);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->role(), QAccessible::Graphic)
        << "a picture that takes no clicks";
}

}  // namespace
}  // namespace korvel
