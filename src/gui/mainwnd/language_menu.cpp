#include "gui/mainwnd/language_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QString>

#include "text/text_table.h"

namespace korvel {
namespace {

QString Read(const TextTable& texts, const char* key) {
    return QString::fromStdU16String(texts.ReadText(key, texts.CaptionLanguage()));
}

}  // namespace

QMenu* AddLanguageMenu(QMenu& menu, const TextTable& texts, std::function<void(int)> choose) {
    QMenu* languages = menu.addMenu(Read(texts, "MENU_LANGUAGE"));
    auto* group = new QActionGroup(languages);
    struct Choice {
        const char* key;
        int value;
        Language language;
    };
    static constexpr Choice kChoices[] = {
        {"LANGUAGE_ENGLISH", 1, Language::English},
        {"LANGUAGE_CHINESE", 0, Language::Chinese},
    };
    for (const Choice& choice : kChoices) {
        QAction* action = languages->addAction(Read(texts, choice.key));
        action->setCheckable(true);
        action->setChecked(texts.CaptionLanguage() == choice.language);
        action->setData(choice.value);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, languages,
                         [choose, value = choice.value] { choose(value); });
    }
    return languages;
}

}  // namespace korvel
