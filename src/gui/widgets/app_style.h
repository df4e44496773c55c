#pragma once

#include <QIcon>
#include <QString>

class QApplication;

namespace korvel {

// The one application style for everything Qt draws itself (menus, tooltips, message boxes and
// their icons, file and colour dialogs, lists, check boxes, combo boxes, scroll bars): the skin's
// colours (skin_palette.h) as palette and style sheet, graphite surfaces, light text, the cyan
// accent for selection and focus, dimmed disabled text, and tooltips after the skin's delay. The
// selectors' drop-down mark is the skin's "combo_arrow.png"; without `skinFolder` the skin beside
// the program is used.
void ApplyApplicationStyle(QApplication& app, const QString& skinFolder = QString());

// The message-box icons in the skin's colours: a round badge with "i", "?", "!" or "×".
enum class MessageIcon { Information, Question, Warning, Critical };
QIcon MessageIconOf(MessageIcon icon);

}  // namespace korvel
