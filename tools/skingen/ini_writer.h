#pragma once

#include <QByteArray>

#include "skin_layout.h"

namespace skingen {

// A dialog's INI file as plain UTF-8 text: "SCREEN", "BUTTONINFO" with every control as
// "x,y,w,h" (a control hidden by design at "1,1,w,h"), then the dialog's further sections.
QByteArray IniText(const Dialog& dialog);

}  // namespace skingen
