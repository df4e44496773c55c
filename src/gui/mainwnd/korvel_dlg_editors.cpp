// The main window's editors: the key editor opened by a key click, the macro editor, and the
// services they share with the window. Each editor is built the first time it is opened.
#include <QColor>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QShortcut>

#include "gui/editors/editor_host.h"
#include "gui/editors/korvel_dlg_composite.h"
#include "gui/editors/korvel_dlg_macro.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/korvel_dlg.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/platform/launchers.h"
#include "gui/platform/on_screen_keyboard.h"
#include "gui/widgets/png_button.h"
#include "ports/prompts.h"
#include "text/text_table.h"

namespace korvel {

void CKorvelDlg::OnKeyClicked(int controlId) {
    // The keys' setup is being read: an edit now would be replaced by what is read.
    if (m_reading) {
        return;
    }
    // While the panel is on a key click paints (custom effect only); G keys always open the
    // editor.
    if (m_lightingPanel->IsOn() && GKeyOfControl(controlId) == 0) {
        m_lightingPanel->ClickKey(controlId);
        return;
    }
    if (controlId != kKeyFn) {
        OpenKeyEditor(controlId);
    }
}

void CKorvelDlg::CreateEditorHost() {
    m_editorHost.reset(new EditorHost{
        m_services.store, m_services.keyCodec, m_services.texts, m_services.prompts, Settings(),
        m_services.launcher, [this] { return ActiveProfile(); }, [this] { SetModified(true); },
        [this] { RefreshKeyGrid(); }, [this] { EditorOpened(); }, [this] { EditorClosed(); },
        [this] { ShowHelp(m_services.launcher, m_services.paths); }, OnScreenKeyboardProgram(),
        [] {
            static const QElapsedTimer clock = [] {
                QElapsedTimer started;
                started.start();
                return started;
            }();
            return static_cast<std::uint64_t>(clock.elapsed());
        }});
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [this] { ShowHelp(m_services.launcher, m_services.paths); });
}

// The editors are built when first opened and then kept: most sessions never open them, and
// their skins cost start-up time and memory.
template <typename Editor>
Editor* CKorvelDlg::EnsureEditor(Editor*& editor, WindowSkin skin) {
    if (editor != nullptr) {
        return editor;
    }
    auto* created = new Editor(*m_editorHost, SkinOf(skin), this);
    created->setWindowTitle(
        QString::fromStdU16String(m_services.texts.Text(TextKey::MAIN_CAPTION)));
    if (!created->Initialise()) {
        m_services.prompts.ShowMessage(created->SkinError().toStdU16String(), MessageKind::Error);
        delete created;
        return nullptr;
    }
    editor = created;
    return editor;
}

bool CKorvelDlg::EditorOpen() const {
    return (m_keyEditor != nullptr && m_keyEditor->IsOpen()) ||
           (m_macroEditor != nullptr && m_macroEditor->IsOpen());
}

void CKorvelDlg::OpenKeyEditor(int controlId) {
    const int slot = m_keyGrid->SlotOfControl(controlId);
    CPngButton* button = m_keyGrid->ButtonOfControl(controlId);
    if (slot < 0 || button == nullptr || EditorOpen()) {
        return;
    }
    Korvel_DlgComposite* editor = EnsureEditor(m_keyEditor, WindowSkin::KeyEditor);
    if (editor == nullptr) {
        return;
    }
    // The clicked key stays highlighted while its editor is open.
    button->SetFrame(QColor(0x22, 0xD3, 0xEE), true);
    const QPointer<CPngButton> clicked(button);
    connect(
        editor, &Korvel_DlgComposite::closed, this,
        [clicked] {
            if (clicked != nullptr) {
                clicked->SetFrame(QColor(), false);
            }
        },
        Qt::SingleShotConnection);
    editor->OpenForKey(slot, controlId == kKeyG9,
                       QRect(button->mapToGlobal(QPoint(0, 0)), button->size()));
}

void CKorvelDlg::OpenMacroEditor() {
    if (EditorOpen()) {
        return;
    }
    if (CKorvel_DlgMacro* editor = EnsureEditor(m_macroEditor, WindowSkin::MacroEditor)) {
        editor->OpenEditor();
    }
}

}  // namespace korvel
