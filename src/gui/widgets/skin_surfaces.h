#pragma once

#include <QPixmap>
#include <QString>

namespace korvel {

// The full-dialog pictures an image button cuts its faces from, one per state. A dialog loads
// them once and its buttons refer to them.
struct SkinSurfaces {
    QPixmap normal;
    QPixmap hover;
    QPixmap pressed;
    QPixmap disabled;
    QPixmap checked;
};

// A state picture, decoded once and kept as it is (no copy into a larger surface): a button cuts
// its face at its own rectangle, and a part of a face beyond the picture is left to the button's
// ground. A picture that cannot be read or decoded gives a null pixmap.
QPixmap LoadStateSurface(const QString& file);

// Whether a picture can be decoded, judged from its header without decoding it: for pictures that
// are only needed later.
bool StatePictureReadable(const QString& file);

}  // namespace korvel
