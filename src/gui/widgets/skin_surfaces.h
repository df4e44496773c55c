#pragma once

#include <QPixmap>
#include <QSize>
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

// A state picture drawn 1:1 into a surface as large as the dialog plus 100 pixels each way. A
// picture that cannot be loaded leaves the surface undrawn (transparent).
QPixmap LoadStateSurface(const QString& file, const QSize& dialogSize);

}  // namespace korvel
