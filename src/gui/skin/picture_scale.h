#pragma once

#include <QRect>
#include <QString>
#include <QtMath>

namespace korvel {

// A skin's pictures come in two resolutions: "name.ext", drawn for a device pixel ratio of 1, and
// "name@2x.ext" beside it, the same picture drawn at twice the resolution (Qt's own naming). Both
// have the same layout in logical pixels: the rectangles of the skin files, the masks' runs and
// the dialogs' sizes are in the pixels of the 1× picture.
inline constexpr int kDoubleScale = 2;

// Where a file's extension starts (its length when it has none): the scale goes before it.
inline qsizetype PictureExtensionAt(const QString& file) {
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    return dot > file.lastIndexOf(QLatin1Char('/')) ? dot : file.size();
}

// The file of the picture `file` (a name or a path) drawn at `scale`: the file itself at 1,
// "name@2x.ext" at 2.
inline QString ScaledPictureName(const QString& file, int scale) {
    if (scale <= 1) {
        return file;
    }
    return QString(file).insert(PictureExtensionAt(file), QStringLiteral("@%1x").arg(scale));
}

// The scale a picture's file name gives: 2 for "name@2x.ext", 1 for any other.
inline int PictureScaleOf(const QString& file) {
    return QStringView(file).first(PictureExtensionAt(file)).endsWith(QLatin1String("@2x"))
               ? kDoubleScale
               : 1;
}

// The pictures for a screen of this device pixel ratio: the 2× ones above a ratio of 1, which Qt
// scales down smoothly for a fractional ratio (1.25, 1.5) rather than blowing up the 1× ones.
inline int PictureScaleFor(qreal devicePixelRatio) {
    return devicePixelRatio > 1.0 ? kDoubleScale : 1;
}

// A rectangle of logical pixels in the pixels of a picture drawn at `scale`.
inline QRect ScaledRect(const QRect& logical, qreal scale) {
    return QRect(qRound(logical.x() * scale), qRound(logical.y() * scale),
                 qRound(logical.width() * scale), qRound(logical.height() * scale));
}

}  // namespace korvel
