#pragma once

#include <QIcon>
#include <QString>

class QApplication;
class QWidget;

namespace korvel {

// The one application style for everything Qt draws itself (menus, tooltips, message boxes and
// their icons, file and colour dialogs, lists, check boxes, combo boxes, scroll bars): the skin's
// colours (skin_palette.h) as palette and style sheet, graphite surfaces, light text, the cyan
// accent for selection and focus, dimmed disabled text, and tooltips after the skin's delay. The
// selectors' drop-down mark is the skin's "combo_arrow.png"; without `skinFolder` the skin beside
// the program is used.
// The style sheet is given to each window as it is first polished (and so to its children),
// not to the application as a whole.
void ApplyApplicationStyle(QApplication& app, const QString& skinFolder = QString());

// Marks a window whose widgets all draw themselves from the skin: it gets no style sheet, which
// spares each of its many buttons the sheet's rules. Call before it is first shown.
void KeepPlainStyle(QWidget* window);
// The style sheet for one stock widget inside such a window (a selector); nothing without
// ApplyApplicationStyle.
void UseApplicationSheet(QWidget* widget);

// The message-box icons in the skin's colours: a round badge with "i", "?", "!" or "×".
enum class MessageIcon { Information, Question, Warning, Critical };
QIcon MessageIconOf(MessageIcon icon);

}  // namespace korvel
