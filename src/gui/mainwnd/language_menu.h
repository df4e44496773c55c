#pragma once

#include <functional>

class QMenu;

namespace korvel {

class TextTable;

// Adds the window menu's "Language" submenu: English and Chinese, each named in its own language,
// the one shown checked. Choosing one calls `choose` with 1 (English) or 0 (Chinese). Returns the
// submenu, which `menu` owns.
QMenu* AddLanguageMenu(QMenu& menu, const TextTable& texts, std::function<void(int)> choose);

}  // namespace korvel
