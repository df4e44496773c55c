// The main window's skin pictures: which state pictures it has, their decoding, and the packing
// of the normal faces that every button shows at start.
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>

#include "gui/mainwnd/flip_controls.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/korvel_dlg.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/skin/skin_picture.h"
#include "gui/widgets/png_button.h"

namespace korvel {
namespace {

constexpr char kNormalPicture[] = "main_normal.jpg";

}  // namespace

// The state pictures of the window and its flip layer. Every button shows its normal face in the
// first frame: those faces are drawn into the background picture, which the window paints anyway,
// at their buttons' places. The other states are shown by a few buttons at a time (checked,
// disabled) or only under the mouse (hover, pressed), and the flip layer only while the flip is
// on: their faces are decoded one by one when a button first shows them. A file named twice
// shares its faces.
std::vector<CKorvelDlg::StatePicture> CKorvelDlg::StatePictures() {
    return {
        {&m_surfaces.normal, kNormalPicture, nullptr},
        {&m_surfaces.hover, "main_over.jpg", &m_surfaces.lazyHover},
        {&m_surfaces.pressed, "main_down.jpg", &m_surfaces.lazyPressed},
        {&m_surfaces.disabled, "main_disable.jpg", &m_surfaces.lazyDisabled},
        {&m_surfaces.checked, "main_color0.jpg", &m_surfaces.lazyChecked},
        {&m_flipSurfaces.normal, "main_color1.jpg", &m_flipSurfaces.lazyNormal},
        {&m_flipSurfaces.hover, "main_flip_over.jpg", &m_flipSurfaces.lazyHover},
        {&m_flipSurfaces.pressed, "main_flip_down.jpg", &m_flipSurfaces.lazyPressed},
        {&m_flipSurfaces.disabled, "main_flip_disable.jpg", &m_flipSurfaces.lazyDisabled},
        {&m_flipSurfaces.checked, "main_color1.jpg", &m_flipSurfaces.lazyChecked},
    };
}

// Before anything is laid out the state pictures are only checked, from their headers. Once every
// button is in place the normal picture is decoded and its faces drawn into the background
// (PackButtonSurfaces, DrawNormalFaces).
bool CKorvelDlg::LoadSurfaces() {
    std::map<QString, std::shared_ptr<const LazyFaces>> lazy;
    for (const StatePicture& picture : StatePictures()) {
        const QString path = Skin().PicturePath(QString::fromLatin1(picture.file));
        if (!StatePictureReadable(path)) {
            SetSkinError(QStringLiteral("The skin picture %1 cannot be read.")
                             .arg(QDir::toNativeSeparators(path)));
            return false;
        }
        if (picture.lazy != nullptr) {
            const auto known = lazy.find(path);
            *picture.lazy = known != lazy.end()
                                ? known->second
                                : lazy[path] = std::make_shared<const LazyFaces>(path);
        }
    }
    // The arrows cut their one face from Arrow.jpg at the place BUTTONINFO2 names.
    const QPixmap arrow = LoadSkinPixmap(Skin().PicturePath(QStringLiteral("Arrow.jpg")));
    m_arrowSurfaces = SkinSurfaces{arrow, arrow, arrow, arrow, arrow, nullptr};
    return true;
}

bool CKorvelDlg::DrawNormalFaces() {
    const QString path = Skin().PicturePath(QString::fromLatin1(kNormalPicture));
    const QImage normal = DecodeSkinPicture(path);
    if (normal.isNull()) {
        SetSkinError(QStringLiteral("The skin picture %1 cannot be read.")
                         .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    m_surfaces.atlas->DrawFaces(Background(), normal);
    m_surfaces.normal = Background();
    return true;
}

bool CKorvelDlg::PackButtonSurfaces() {
    // In stacking order, so that where places overlap (a backdrop under its keys) the face on top
    // is the one drawn last. The flip layer's faces are all decoded one by one.
    std::vector<FaceAtlas::Placement> placements;
    for (const CPngButton* button : findChildren<CPngButton*>()) {
        const SkinSurfaces* set = button->Surfaces();
        if (set == &m_surfaces || set == &m_flipIndicatorSurfaces) {
            placements.push_back({button->FaceRect(), button->mapTo(this, QPoint(0, 0))});
        }
    }
    m_surfaces.atlas = FaceAtlas::Arrange(placements);
    // The flip indicator takes the atlas of the layer it shows.
    m_flipSurfaces.atlas = m_surfaces.atlas;
    if (!DrawNormalFaces()) {
        return false;
    }
    m_flip->Update();
    return true;
}

}  // namespace korvel
