#include "gui/widgets/skin_surfaces.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <tuple>

#include "gui/widgets/skin_palette.h"

namespace korvel {

std::shared_ptr<const FaceAtlas> FaceAtlas::Pack(std::vector<QRect> faces, int width) {
    faces.erase(
        std::remove_if(faces.begin(), faces.end(), [](const QRect& r) { return r.isEmpty(); }),
        faces.end());
    // Tallest first, row by row: the shelves waste little height.
    std::sort(faces.begin(), faces.end(), [](const QRect& a, const QRect& b) {
        return std::tuple(-a.height(), -a.width(), a.x(), a.y()) <
               std::tuple(-b.height(), -b.width(), b.x(), b.y());
    });
    faces.erase(std::unique(faces.begin(), faces.end()), faces.end());
    auto atlas = std::make_shared<FaceAtlas>();
    int x = 0, y = 0, rowHeight = 0, used = 0;
    for (const QRect& face : faces) {
        if (x > 0 && x + face.width() > width) {
            y += rowHeight;
            x = 0;
            rowHeight = 0;
        }
        atlas->m_places.push_back({face, QPoint(x, y)});
        x += face.width();
        used = std::max(used, x);
        rowHeight = std::max(rowHeight, face.height());
    }
    atlas->m_size = QSize(used, y + rowHeight);
    return atlas;
}

std::optional<QRect> FaceAtlas::Find(const QRect& face) const {
    for (const Place& place : m_places) {
        if (place.face == face) {
            return QRect(place.where, face.size());
        }
    }
    for (const Place& place : m_places) {
        if (place.face.contains(face)) {
            return QRect(place.where + (face.topLeft() - place.face.topLeft()), face.size());
        }
    }
    return std::nullopt;
}

QImage FaceAtlas::PackPicture(const QImage& full) const {
    if (full.isNull() || m_size.isEmpty()) {
        return QImage();
    }
    QImage packed(m_size, QImage::Format_RGB32);
    // A face that reaches beyond the full picture shows the dialog's ground there.
    packed.fill(QColor::fromRgb(skin_palette::kWindow));
    QPainter painter(&packed);
    for (const Place& place : m_places) {
        painter.drawImage(place.where, full, place.face);
    }
    return packed;
}

std::vector<QImage> LoadPackedSurfaces(const std::vector<QString>& files, const FaceAtlas& atlas) {
    std::vector<QImage> packed(files.size());
    // One after the other: a helper thread would save little time but keep a second full
    // picture and a second allocator arena alive.
    for (std::size_t i = 0; i < files.size(); ++i) {
        QImageReader reader(files[i]);
        packed[i] = atlas.PackPicture(reader.read());
    }
    return packed;
}

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
