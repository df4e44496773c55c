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

std::shared_ptr<const FaceAtlas> FaceAtlas::Arrange(const std::vector<Placement>& placements) {
    auto atlas = std::make_shared<FaceAtlas>();
    QRect bounds;
    for (const Placement& placement : placements) {
        if (!placement.face.isEmpty()) {
            atlas->m_places.push_back({placement.face, placement.where});
            bounds |= QRect(placement.where, placement.face.size());
        }
    }
    atlas->m_size = bounds.isEmpty() ? QSize() : QSize(bounds.right() + 1, bounds.bottom() + 1);
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
    packed.fill(QColor::fromRgb(skin_palette::kWindow));
    DrawFaces(packed, full);
    return packed;
}

void FaceAtlas::DrawFaces(QPaintDevice& target, const QImage& full) const {
    QPainter painter(&target);
    for (const Place& place : m_places) {
        const QRect inside = place.face & full.rect();
        if (inside != place.face) {
            painter.fillRect(QRect(place.where, place.face.size()),
                             QColor::fromRgb(skin_palette::kWindow));
        }
        if (!inside.isEmpty()) {
            painter.drawImage(place.where + (inside.topLeft() - place.face.topLeft()), full,
                              inside);
        }
    }
}

QPixmap LazyFaces::Face(const QRect& face) const {
    const auto key = std::tuple(face.x(), face.y(), face.width(), face.height());
    const auto known = m_faces.find(key);
    if (known != m_faces.end()) {
        return known->second;
    }
    QPixmap result;
    QImageReader reader(m_file);
    const QRect inside = face.intersected(QRect(QPoint(0, 0), reader.size()));
    if (reader.canRead() && !face.isEmpty()) {
        // Only the face's rectangle is kept of the decoded lines.
        QImage part;
        if (!inside.isEmpty()) {
            reader.setClipRect(inside);
            part = reader.read();
        }
        if (!part.isNull() || inside.isEmpty()) {
            QImage whole(face.size(), QImage::Format_RGB32);
            whole.fill(QColor::fromRgb(skin_palette::kWindow));
            if (!part.isNull()) {
                QPainter painter(&whole);
                painter.drawImage(inside.topLeft() - face.topLeft(), part);
            }
            result = QPixmap::fromImage(std::move(whole));
        }
    }
    m_faces.emplace(key, result);
    return result;
}

std::optional<std::pair<QPixmap, QRect>> SkinSurfaces::Face(const QPixmap* surface,
                                                            const QRect& face) const {
    const LazyFaces* lazy = surface == &normal     ? lazyNormal.get()
                            : surface == &hover    ? lazyHover.get()
                            : surface == &pressed  ? lazyPressed.get()
                            : surface == &disabled ? lazyDisabled.get()
                            : surface == &checked  ? lazyChecked.get()
                                                   : nullptr;
    if (lazy != nullptr) {
        QPixmap picture = lazy->Face(face);
        const QRect place = picture.rect();
        return std::pair(std::move(picture), place);
    }
    const std::optional<QRect> place = FaceRect(face);
    if (!place) {
        return std::nullopt;
    }
    return std::pair(*surface, *place);
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
