#pragma once

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

namespace korvel {

// Decodes a skin picture, or only the rectangle `clip` of it (a null clip: all of it; a rectangle
// of the file's own pixels), through Qt's image reader with a clip rectangle. The image's device
// pixel ratio is the scale its file's name gives (2 for "name@2x.ext", see picture_scale.h), so
// that it is drawn at its logical size. A null image when the picture cannot be decoded, with the
// reason in `error` when given. Any thread.
QImage DecodeSkinPicture(const QString& file, const QRect& clip = QRect(),
                         QString* error = nullptr);

// Several rectangles of one picture in one read of their bounding rectangle: the picture's size
// (invalid when it cannot be read) and each face's pixels (the face clipped to the picture; null
// where nothing of it lies in the picture, all null when the picture cannot be decoded), in the
// order given; rectangles and size in the file's own pixels, the faces with its device pixel
// ratio. Any thread.
struct SkinFaces {
    QSize picture;
    std::vector<QImage> faces;
};
SkinFaces DecodeSkinFaces(const QString& file, const std::vector<QRect>& faces);

// A whole skin picture as a pixmap with the device pixel ratio its name gives; null when it cannot
// be decoded. The GUI thread.
QPixmap LoadSkinPixmap(const QString& file);

}  // namespace korvel
