#pragma once

#include <QRect>
#include <QString>

namespace korvel {

// A control's rectangle in a skin file: "x,y,w,h" in the dialog's client coordinates. Up to four
// decimal numbers are read, as far as they go; numbers that are not there are 0. A missing key
// reads as "1,1,1,1,x".
QRect ParseSkinRect(const QString& value);

// An image button placed at (1, 1) is disabled: that is how a skin leaves a control out.
bool IsDisabledPlacement(const QRect& rect);

}  // namespace korvel
