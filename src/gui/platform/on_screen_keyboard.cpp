#include "gui/platform/on_screen_keyboard.h"

#include <QStandardPaths>

namespace korvel {

QString OnScreenKeyboardProgram() {
    for (const char* program : {"onboard", "florence", "osk"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(program));
        if (!found.isEmpty()) {
            return found;
        }
    }
    return {};
}

}  // namespace korvel
