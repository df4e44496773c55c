#pragma once

#include <memory>
#include <utility>

#include "gui/skin/dialog_skin.h"

namespace korvel {

// A skin as a screen of a higher device pixel ratio shows it: the file of each picture is its
// drawing at `scale` ("name@2x.ext", see picture_scale.h) where the skin has one beside it, else
// the picture itself. The mask stays the skin's own, as do rectangles, captions and fonts: they
// are all in logical pixels.
class ScaledSkin : public DialogSkin {
public:
    ScaledSkin(std::shared_ptr<const DialogSkin> skin, int scale)
        : m_skin(std::move(skin)), m_scale(scale) {}

    QString Value(const QString& section, const QString& key,
                  const QString& defaultValue) const override {
        return m_skin->Value(section, key, defaultValue);
    }
    const PrivateProfile& Description() const override { return m_skin->Description(); }
    QString Name() const override { return m_skin->Name(); }
    QString PicturePath(const QString& picture) const override;
    QString Caption(const char* key) const override { return m_skin->Caption(key); }
    TextStyle Style(SkinText kind) const override { return m_skin->Style(kind); }

private:
    std::shared_ptr<const DialogSkin> m_skin;
    int m_scale;
};

// The skin to show on a screen of this device pixel ratio: the skin itself at a ratio of 1, the
// skin with its 2× pictures above.
std::shared_ptr<const DialogSkin> SkinForRatio(std::shared_ptr<const DialogSkin> skin,
                                               qreal devicePixelRatio);

}  // namespace korvel
