#pragma once

#include <QWidget>
#include <vector>

namespace korvel {

class CKorvelDlg;

// The main window's Tab stops as the window reads, top to bottom: the title strip's buttons,
// the G keys, the keys row by row (each flip toggle beside the keys it flips, Fn where it lies
// in the bottom row), the lighting panel, the profile bar, then Apply, OK and Cancel.
std::vector<QWidget*> WindowTabOrder(CKorvelDlg& window);

}  // namespace korvel
