#pragma once

#include <QString>

class QApplication;

namespace korvel {

// The one application style for everything Qt draws itself (menus, tooltips, message boxes, file
// and colour dialogs, lists, check boxes, combo boxes, scroll bars): graphite surfaces, light
// text, the cyan accent for selection and focus. The selectors' drop-down mark is the skin's
// "combo_arrow.png"; without `skinFolder` the skin beside the program is used.
void ApplyApplicationStyle(QApplication& app, const QString& skinFolder = QString());

}  // namespace korvel
