#include "gui/widgets/skin_surfaces.h"

#include <QImage>
#include <QPainter>

namespace korvel {

QPixmap LoadStateSurface(const QString& file, const QSize& dialogSize) {
    QPixmap surface(dialogSize + QSize(100, 100));
    surface.fill(Qt::transparent);
    const QImage picture(file);
    if (!picture.isNull()) {
        QPainter painter(&surface);
        painter.drawImage(0, 0, picture);
    }
    return surface;
}

}  // namespace korvel
