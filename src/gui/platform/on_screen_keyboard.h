#pragma once

#include <QString>

namespace korvel {

// The desktop's on-screen keyboard: the first of the known programs found on PATH ("osk" on
// Windows); empty when none is installed.
QString OnScreenKeyboardProgram();

}  // namespace korvel
