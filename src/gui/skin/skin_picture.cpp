#include "gui/skin/skin_picture.h"

#include <QImageReader>

#include "gui/skin/picture_scale.h"

namespace korvel {
namespace {

// The faces' bounding rectangle decoded (Qt's reader skips what lies outside its clip), then each
// face cut from it.
SkinFaces DecodeByQt(const QString& file, const std::vector<QRect>& faces, QString* error) {
    QImageReader reader(file);
    const QRect picture(QPoint(0, 0), reader.canRead() ? reader.size() : QSize());
    QRect wanted;
    for (const QRect& face : faces) {
        wanted |= face & picture;
    }
    SkinFaces decoded{picture.size(), std::vector<QImage>(faces.size())};
    if (wanted.isEmpty()) {
        if (error != nullptr) {
            *error = reader.errorString();
        }
        return decoded;
    }
    reader.setClipRect(wanted);
    QImage part = reader.read();
    if (part.isNull()) {
        if (error != nullptr) {
            *error = reader.errorString();
        }
        return decoded;
    }
    // Set here whatever Qt's reader made of the name, so that no setting of Qt's changes it.
    part.setDevicePixelRatio(PictureScaleOf(file));
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const QRect inside = faces[f] & picture;
        if (inside == wanted) {
            decoded.faces[f] = part;
        } else if (!inside.isEmpty()) {
            decoded.faces[f] = part.copy(inside.translated(-wanted.topLeft()));
        }
    }
    return decoded;
}

}  // namespace

QImage DecodeSkinPicture(const QString& file, const QRect& clip, QString* error) {
    // A rectangle far larger than any picture stands for "all of it".
    constexpr int kEverything = 1 << 20;
    const QRect wanted = clip.isNull() ? QRect(0, 0, kEverything, kEverything) : clip;
    return DecodeByQt(file, {wanted}, error).faces.front();
}

SkinFaces DecodeSkinFaces(const QString& file, const std::vector<QRect>& faces) {
    return DecodeByQt(file, faces, nullptr);
}

QPixmap LoadSkinPixmap(const QString& file) {
    QImage picture = DecodeSkinPicture(file);
    if (picture.isNull()) {
        return QPixmap();
    }
    return QPixmap::fromImage(std::move(picture), Qt::NoFormatConversion);
}

}  // namespace korvel
