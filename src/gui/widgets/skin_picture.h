#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

namespace korvel {

// Decodes a skin picture, or only the rectangle `clip` of it (a null clip: all of it), into
// 32-bit RGB. JPEG pictures are decoded by libjpeg straight into that format, and the lines above
// a clip are skipped rather than decoded; other formats, and JPEG pictures libjpeg refuses, go
// through Qt's image reader. A null image when the picture cannot be decoded, with the reason in
// `error` when given. Any thread.
QImage DecodeSkinPicture(const QString& file, const QRect& clip = QRect(),
                         QString* error = nullptr);

// Several rectangles of one picture in one pass over its lines: the picture's size (invalid when
// it cannot be read) and each face's pixels (the face clipped to the picture; null where nothing
// of it lies in the picture, all null when the picture cannot be decoded), in the order given.
// Only the faces are kept while decoding, and lines no face needs are skipped. Any thread.
struct SkinFaces {
    QSize picture;
    std::vector<QImage> faces;
};
SkinFaces DecodeSkinFaces(const QString& file, const std::vector<QRect>& faces);

}  // namespace korvel
