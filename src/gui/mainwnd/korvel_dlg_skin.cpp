// The main window's skin pictures: which state pictures it has, their decoding, and the packing
// of the normal faces that every button shows at start.
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>

#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/korvel_dlg.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/widgets/png_button.h"

namespace korvel {

std::vector<CKorvelDlg::StatePicture> CKorvelDlg::StatePictures() {
    return {
        {&m_surfaces.normal, "main_normal.jpg", nullptr},
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
// button is in place the first frame's pictures are decoded and packed down to the faces the
// buttons cut from them (PackButtonSurfaces, DecodeSurfaces).
bool CKorvelDlg::LoadSurfaces() {
    const QDir folder(SkinFolder());
    std::map<QString, std::shared_ptr<const LazyFaces>> lazy;
    for (const StatePicture& picture : StatePictures()) {
        const QString path = folder.filePath(QString::fromLatin1(picture.file));
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
    const QPixmap arrow(folder.filePath(QStringLiteral("Arrow.jpg")));
    m_arrowSurfaces = SkinSurfaces{arrow, arrow, arrow, arrow, arrow, nullptr};
    return true;
}

bool CKorvelDlg::DecodeSurfaces() {
    const QDir folder(SkinFolder());
    // Each file is decoded once; a file named twice shares its pixels.
    std::vector<QString> files;
    std::vector<std::vector<QPixmap*>> targets;
    for (const StatePicture& picture : StatePictures()) {
        if (picture.lazy != nullptr) {
            continue;
        }
        const QString path = folder.filePath(QString::fromLatin1(picture.file));
        const auto known = std::find(files.begin(), files.end(), path);
        if (known == files.end()) {
            files.push_back(path);
            targets.push_back({picture.surface});
        } else {
            targets[static_cast<std::size_t>(known - files.begin())].push_back(picture.surface);
        }
    }
    std::vector<QImage> packed = LoadPackedSurfaces(files, *m_surfaces.atlas);
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (packed[i].isNull()) {
            SetSkinError(QStringLiteral("The skin picture %1 cannot be read.")
                             .arg(QDir::toNativeSeparators(files[i])));
            return false;
        }
        const QPixmap surface = QPixmap::fromImage(std::move(packed[i]));
        for (QPixmap* target : targets[i]) {
            *target = surface;
        }
    }
    return true;
}

bool CKorvelDlg::PackButtonSurfaces() {
    std::vector<QRect> faces;
    for (const CPngButton* button : findChildren<CPngButton*>()) {
        const SkinSurfaces* set = button->Surfaces();
        if (set == &m_surfaces || set == &m_flipSurfaces || set == &m_flipIndicatorSurfaces) {
            faces.push_back(QRect(button->PictureOffset() - QPoint(1, 1), button->size()));
        }
    }
    // Both layers share one atlas: the flip indicator mixes their pictures.
    m_surfaces.atlas = FaceAtlas::Pack(std::move(faces));
    m_flipSurfaces.atlas = m_surfaces.atlas;
    if (!DecodeSurfaces()) {
        return false;
    }
    UpdateFlipControls();
    return true;
}

}  // namespace korvel
