#include "gui/skin/skin_surfaces.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <tuple>

#include "gui/skin/picture_scale.h"
#include "gui/skin/skin_palette.h"
#include "gui/skin/skin_picture.h"

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
    QImage packed(ScaledRect(QRect(QPoint(0, 0), m_size), full.devicePixelRatio()).size(),
                  QImage::Format_RGB32);
    packed.setDevicePixelRatio(full.devicePixelRatio());
    packed.fill(QColor::fromRgb(skin_palette::kWindow));
    DrawFaces(packed, full);
    return packed;
}

void FaceAtlas::DrawFaces(QPaintDevice& target, const QImage& full) const {
    // The painter works in logical pixels; the faces are cut from the picture's own.
    const qreal scale = full.devicePixelRatio();
    const QRect logical(QPoint(0, 0), full.deviceIndependentSize().toSize());
    QPainter painter(&target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const Place& place : m_places) {
        const QRect inside = place.face & logical;
        if (inside != place.face) {
            painter.fillRect(QRect(place.where, place.face.size()),
                             QColor::fromRgb(skin_palette::kWindow));
        }
        if (!inside.isEmpty()) {
            painter.drawImage(
                QRect(place.where + (inside.topLeft() - place.face.topLeft()), inside.size()), full,
                ScaledRect(inside, scale));
        }
    }
}

std::map<LazyFaces::Key, QImage> LazyFaces::Decode(const QString& file,
                                                   const std::vector<QRect>& faces) {
    // The faces are named in logical pixels and cut from the picture's own.
    const int scale = PictureScaleOf(file);
    std::vector<QRect> cuts;
    cuts.reserve(faces.size());
    for (const QRect& face : faces) {
        cuts.push_back(ScaledRect(face, scale));
    }
    std::map<Key, QImage> decoded;
    const SkinFaces parts = DecodeSkinFaces(file, cuts);
    const QRect picture(QPoint(0, 0), parts.picture);
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const QRect& face = faces[f];
        const QRect& cut = cuts[f];
        const QRect inside = cut & picture;
        QImage whole;
        if (parts.picture.isValid() && !face.isEmpty() &&
            (!parts.faces[f].isNull() || inside.isEmpty())) {
            whole = QImage(cut.size(), QImage::Format_RGB32);
            whole.setDevicePixelRatio(scale);
            whole.fill(QColor::fromRgb(skin_palette::kWindow));
            if (!inside.isEmpty()) {
                QPainter painter(&whole);
                painter.drawImage(QPointF(inside.topLeft() - cut.topLeft()) / scale,
                                  parts.faces[f]);
            }
        }
        decoded.emplace(Key(face.x(), face.y(), face.width(), face.height()), std::move(whole));
    }
    return decoded;
}

void LazyFaces::Prefetch(std::vector<QRect> faces) const {
    CollectPrefetched();
    faces.erase(std::remove_if(faces.begin(), faces.end(),
                               [this](const QRect& face) {
                                   return m_faces.count(
                                       Key(face.x(), face.y(), face.width(), face.height()));
                               }),
                faces.end());
    if (faces.empty()) {
        return;
    }
    m_prefetched =
        std::async(std::launch::async | std::launch::deferred,
                   [file = m_file, faces = std::move(faces)] { return Decode(file, faces); });
}

void LazyFaces::CollectPrefetched() const {
    if (!m_prefetched.valid()) {
        return;
    }
    for (auto& [key, image] : m_prefetched.get()) {
        m_faces.emplace(key, image.isNull() ? QPixmap() : QPixmap::fromImage(std::move(image)));
    }
}

QPixmap LazyFaces::Face(const QRect& face) const {
    CollectPrefetched();
    const Key key(face.x(), face.y(), face.width(), face.height());
    auto known = m_faces.find(key);
    if (known == m_faces.end()) {
        QImage image = std::move(Decode(m_file, {face})[key]);
        known =
            m_faces.emplace(key, image.isNull() ? QPixmap() : QPixmap::fromImage(std::move(image)))
                .first;
    }
    return known->second;
}

const LazyFaces* SkinSurfaces::Lazy(const QPixmap* surface) const {
    return surface == &normal     ? lazyNormal.get()
           : surface == &hover    ? lazyHover.get()
           : surface == &pressed  ? lazyPressed.get()
           : surface == &disabled ? lazyDisabled.get()
           : surface == &checked  ? lazyChecked.get()
                                  : nullptr;
}

std::optional<std::pair<QPixmap, QRect>> SkinSurfaces::Face(const QPixmap* surface,
                                                            const QRect& face) const {
    if (const LazyFaces* lazy = Lazy(surface)) {
        QPixmap picture = lazy->Face(face);
        const QRect place = picture.rect();
        return std::pair(std::move(picture), place);
    }
    const std::optional<QRect> place = FaceRect(face);
    if (!place) {
        return std::nullopt;
    }
    return std::pair(*surface, ScaledRect(*place, surface->devicePixelRatio()));
}

QPixmap LoadStateSurface(const QString& file) {
    return LoadSkinPixmap(file);
}

bool StatePictureReadable(const QString& file) {
    QImageReader reader(file);
    return reader.canRead() && reader.size().isValid();
}

}  // namespace korvel
