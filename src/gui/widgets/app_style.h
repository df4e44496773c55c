#pragma once

class QApplication;

namespace korvel {

// The one application style for everything Qt draws itself (menus, tooltips, message boxes, file
// and colour dialogs, lists, check boxes, combo boxes, scroll bars): graphite surfaces, light
// text, the cyan accent for selection and focus.
void ApplyApplicationStyle(QApplication& app);

}  // namespace korvel
