#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

namespace korvel {

// Decodes a skin picture, or only the rectangle `clip` of it (a null clip: all of it), through
// Qt's image reader with a clip rectangle. A null image when the picture cannot be decoded, with
// the reason in `error` when given. Any thread.
QImage DecodeSkinPicture(const QString& file, const QRect& clip = QRect(),
                         QString* error = nullptr);

// Several rectangles of one picture in one read of their bounding rectangle: the picture's size
// (invalid when it cannot be read) and each face's pixels (the face clipped to the picture; null
// where nothing of it lies in the picture, all null when the picture cannot be decoded), in the
// order given. Any thread.
struct SkinFaces {
    QSize picture;
    std::vector<QImage> faces;
};
SkinFaces DecodeSkinFaces(const QString& file, const std::vector<QRect>& faces);

}  // namespace korvel
