#include "gui/mainwnd/window_tab_order.h"

#include <algorithm>

#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/korvel_dlg.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/widgets/png_button.h"

namespace korvel {
namespace {

bool TabStop(const QWidget& widget) {
    return (widget.focusPolicy() & Qt::TabFocus) != 0;
}

}  // namespace

std::vector<QWidget*> WindowTabOrder(CKorvelDlg& window) {
    std::vector<QWidget*> order;
    for (int id : {kControlLink, kControlHelp, kControlMenu, kControlMinimize, kControlClose}) {
        order.push_back(window.Control(id));
    }
    KeyGrid& keys = window.Keys();
    for (int n = 1; n <= kGKeyButtons; ++n) {
        order.push_back(keys.GKeyButton(n));
    }
    for (int i = 0; i < kKeyButtons; ++i) {
        CPngButton* key = keys.KeyButton(i);
        order.push_back(key);
        if (key == keys.ButtonOfControl(kKeyEsc)) {
            order.push_back(window.Control(kFlipToggleLeft));
        } else if (key == keys.ButtonOfControl(kKeyF4)) {
            order.push_back(window.Control(kFlipToggleRight));
        } else if (key == keys.ButtonOfControl(kKeyRightAlt)) {
            order.push_back(keys.FnButton());
        }
    }
    std::vector<QWidget*> bottom;
    for (int id : {kProfileButton1, kProfileButton2, kProfileButton3, kRestoreDefaults,
                   kReportRate1, kReportRate2, kReportRate3, kReportRate4, kControlSceneMode,
                   kControlMacro, kControlApply, kControlOk, kControlCancel}) {
        bottom.push_back(window.Control(id));
    }
    // Everything else (the lighting panel) in the order it was made, between the two.
    const auto listed = [&](QWidget* widget) {
        return std::find(order.begin(), order.end(), widget) != order.end() ||
               std::find(bottom.begin(), bottom.end(), widget) != bottom.end();
    };
    for (QWidget* at = window.nextInFocusChain(); at != &window; at = at->nextInFocusChain()) {
        if (at->parentWidget() == &window && TabStop(*at) && !listed(at)) {
            order.push_back(at);
        }
    }
    order.insert(order.end(), bottom.begin(), bottom.end());
    order.erase(std::remove(order.begin(), order.end(), nullptr), order.end());
    return order;
}

}  // namespace korvel
