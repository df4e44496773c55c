// The main window's firmware update command.
#include "gui/editors/update_dialog.h"
#include "gui/mainwnd/korvel_dlg.h"
#include "gui/mainwnd/main_window_services.h"
#include "ports/prompts.h"

namespace korvel {

void CKorvelDlg::OpenUpdateDialog() {
    if (m_update == nullptr) {
        UpdateDialogParts parts{
            m_services.texts,
            m_services.prompts,
            [this](std::function<void(bool)> done) { EnterBootLoader(std::move(done)); },
            m_services.store,
            m_services.launcher,
            m_services.paths.UpdatePackageFolder()};
        m_update = new CKorvel_DlgUpdate(std::move(parts), SkinOf(WindowSkin::Update), this);
    }
    if (!m_update->Initialise()) {
        m_services.prompts.ShowMessage(m_update->SkinError().toStdU16String(), MessageKind::Error);
        return;
    }
    m_update->exec();
}

}  // namespace korvel
