// The language of the window: chosen from its menu, at the first start from the desktop's
// locale, and followed by Qt's own texts.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QMenu>
#include <QTimer>

#include <vector>

#include "gui/main_window_fixture.h"
#include "gui/mainwnd/language_menu.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/platform/desktop_language.h"
#include "gui/platform/qt_translations.h"
#include "gui/widgets/png_button.h"

namespace korvel {
namespace {

const QString kChinese = QString::fromUtf8("\xE4\xB8\xAD\xE6\x96\x87");

bool QtChineseInstalled() {
    return QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                         QStringLiteral("/qtbase_zh_CN.qm"));
}

QString QtCancel() {
    return QCoreApplication::translate("QPlatformTheme", "Cancel");
}

using LanguageChoice = fixtures::MainWindowFixture;

TEST_F(LanguageChoice, TheMenuOffersBothLanguagesAndChecksTheOneShown) {
    std::vector<int> chosen;
    for (const int shown : {1, 0}) {
        ASSERT_TRUE(texts.SwitchLanguage(shown));
        QMenu menu;
        QMenu* languages = AddLanguageMenu(menu, texts, [&](int l) { chosen.push_back(l); });
        ASSERT_EQ(languages->actions().size(), 2);
        EXPECT_EQ(languages->actions()[0]->text(), "English");
        EXPECT_EQ(languages->actions()[1]->text(), kChinese);
        EXPECT_EQ(languages->actions()[0]->isChecked(), shown == 1);
        EXPECT_EQ(languages->actions()[1]->isChecked(), shown == 0);
        EXPECT_EQ(menu.actions().back()->menu(), languages);
        EXPECT_EQ(menu.actions().back()->text(),
                  shown == 1 ? QString("Language") : QString::fromUtf8("\xE8\xAF\xAD\xE8\xA8\x80"));
        languages->actions()[shown == 1 ? 1 : 0]->trigger();
    }
    EXPECT_EQ(chosen, (std::vector<int>{0, 1}));
}

// Through the window's own menu: the captions, Qt's buttons and the remembered choice follow.
TEST_F(LanguageChoice, ChoosingChineseInTheWindowsMenuSwitchesTheWholeWindow) {
    auto window = StartShown();
    const QString englishOk = window->Control(kControlOk)->text();
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        menu->close();
        for (QAction* action : menu->actions()) {
            if (action->menu() != nullptr && action->text() == "Language") {
                action->menu()->actions()[1]->trigger();  // the second: Chinese
            }
        }
    });
    window->Dialogs().ShowMenu();
    QCoreApplication::processEvents();
    EXPECT_EQ(texts.GetLanguageValue(), 0);
    EXPECT_NE(window->Control(kControlOk)->text(), englishOk);
    TextTable reread(texts.LanguageFile());
    EXPECT_EQ(reread.GetLanguageValue(), 0) << "remembered for the next start";
    if (QtChineseInstalled()) {
        EXPECT_NE(QtCancel(), "Cancel") << "Qt's own buttons speak Chinese";
    }
    window->SwitchLanguage(1);
    EXPECT_EQ(window->Control(kControlOk)->text(), englishOk);
    EXPECT_EQ(QtCancel(), "Cancel");
    window->Shutdown();
}

TEST(QtTranslationsTest, FollowsTheLanguageAndLeavesQtEnglishWhenGone) {
    if (!QtChineseInstalled()) {
        GTEST_SKIP() << "Qt's Chinese translation is not installed";
    }
    {
        QtTranslations qt;
        EXPECT_TRUE(qt.Follow(0));
        EXPECT_TRUE(qt.Installed());
        EXPECT_NE(QtCancel(), "Cancel");
        EXPECT_TRUE(qt.Follow(1));
        EXPECT_EQ(QtCancel(), "Cancel");
        EXPECT_TRUE(qt.Follow(0));
    }
    EXPECT_EQ(QtCancel(), "Cancel") << "removed with its owner";
    QtTranslations nowhere(QStringLiteral("/no-such-folder"));
    EXPECT_FALSE(nowhere.Follow(0));
    EXPECT_EQ(QtCancel(), "Cancel");
}

TEST_F(LanguageChoice, TheFirstStartFollowsTheDesktopsLocaleAndOnlyTheFirst) {
    struct Case {
        const char* locale;
        int language;
    };
    const Case cases[] = {
        {"zh_CN", 0}, {"zh_TW", 0}, {"en_US", 1}, {"de_DE", 1}, {"C", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale);
        MemorySettingsStore fresh;
        ASSERT_TRUE(texts.SwitchLanguage(1 - c.language));
        FollowLocaleOnFirstStart(texts, fresh, QLocale(QString::fromLatin1(c.locale)));
        EXPECT_EQ(texts.GetLanguageValue(), c.language);
        EXPECT_EQ(LanguageOfLocale(QLocale(QString::fromLatin1(c.locale))), c.language);

        // The user's choice then holds, whatever the locale says.
        ASSERT_TRUE(texts.SwitchLanguage(1 - c.language));
        EXPECT_FALSE(
            FollowLocaleOnFirstStart(texts, fresh, QLocale(QString::fromLatin1(c.locale))));
        EXPECT_EQ(texts.GetLanguageValue(), 1 - c.language);
    }
}

}  // namespace
}  // namespace korvel
