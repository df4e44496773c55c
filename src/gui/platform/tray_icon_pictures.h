#pragma once

#include <QIcon>
#include <QPixmap>

namespace korvel {

// The program's icons by their resource numbers: 128 keyboard absent (grey), 141 present (cyan),
// 142 the keyboard's special state (warm). Drawn at run time so that they stay sharp at every size
// the desktop asks for. Any other number gives the 128 picture.
QPixmap DrawKeyboardIcon(int resourceId, int size);
QIcon KeyboardIcon(int resourceId);

}  // namespace korvel
