#include "gui/mainwnd/window_skins.h"

#include "gui/skin/folder_skin.h"
#include "text/app_paths.h"

namespace korvel {

std::shared_ptr<const DialogSkin> ShippedSkin(const AppPaths& paths, const TextTable& texts,
                                              WindowSkin dialog) {
    // The editors' captions follow the text table's language; the window's own and its
    // managers' follow the window's.
    switch (dialog) {
        case WindowSkin::KeyEditor:
            return MakeFolderSkin(paths.CompositeSkin(), texts, CaptionLanguage::Table);
        case WindowSkin::MacroEditor:
            return MakeFolderSkin(paths.MacroSkin(), texts, CaptionLanguage::Table);
        case WindowSkin::ProfileManager:
            return MakeFolderSkin(paths.ProfileSkin(), texts, CaptionLanguage::Window);
        case WindowSkin::Update:
            return MakeFolderSkin(paths.UpdateSkin(), texts, CaptionLanguage::Window);
        case WindowSkin::Main:
            break;
    }
    return MakeFolderSkin(paths.MainSkin(), texts, CaptionLanguage::Window);
}

}  // namespace korvel
