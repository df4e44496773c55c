#include "gui/widgets/skin_surfaces.h"

#include <QImage>
#include <QImageReader>

namespace korvel {

QPixmap LoadStateSurface(const QString& file) {
    QImageReader reader(file);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        return QPixmap();
    }
    return QPixmap::fromImage(picture, Qt::NoFormatConversion);
}

bool StatePictureReadable(const QString& file) {
    QImageReader reader(file);
    return reader.canRead() && reader.size().isValid();
}

}  // namespace korvel
