#include "gui/skin/scaled_skin.h"

#include <QFileInfo>

#include "gui/skin/picture_scale.h"

namespace korvel {

QString ScaledSkin::PicturePath(const QString& picture) const {
    const QString file = m_skin->PicturePath(picture);
    // The mask is the window's shape in logical pixels, which is what a window's shape is at any
    // ratio, not a picture that is shown: it is read as it is.
    const QString main = m_skin->Value(QStringLiteral("SCREEN"), QStringLiteral("Main"), QString());
    if (picture == m_skin->Value(QStringLiteral("SCREEN"), QStringLiteral("Mask"), main)) {
        return file;
    }
    const QString scaled = ScaledPictureName(file, m_scale);
    return QFileInfo::exists(scaled) ? scaled : file;
}

std::shared_ptr<const DialogSkin> SkinForRatio(std::shared_ptr<const DialogSkin> skin,
                                               qreal devicePixelRatio) {
    const int scale = PictureScaleFor(devicePixelRatio);
    if (scale == 1) {
        return skin;
    }
    return std::make_shared<ScaledSkin>(std::move(skin), scale);
}

}  // namespace korvel
