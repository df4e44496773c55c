#include "gui/mainwnd/editor_launcher.h"

#include <QColor>
#include <QElapsedTimer>
#include <QPoint>
#include <QPointer>
#include <QRect>

#include "gui/editors/editor_host.h"
#include "gui/editors/korvel_dlg_composite.h"
#include "gui/editors/korvel_dlg_macro.h"
#include "gui/mainwnd/apply_controller.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/window_parts.h"
#include "gui/platform/launchers.h"
#include "gui/platform/on_screen_keyboard.h"
#include "gui/widgets/png_button.h"
#include "ports/prompts.h"
#include "text/text_table.h"

namespace korvel {

namespace {

// Why the G keys cannot be played here; empty when they can.
QString GKeysNotPlayed(const MainWindowServices& services) {
    if (services.gKeyInput != nullptr) {
        return {};
    }
    return services.gKeyInputProblem.empty() ? QStringLiteral("no way to send keys was opened")
                                             : QString::fromStdString(services.gKeyInputProblem);
}

}  // namespace

EditorLauncher::EditorLauncher(WindowParts& parts, ApplyController& applier, QWidget* window)
    : m_parts(parts), m_window(window) {
    MainWindowServices& services = parts.services;
    m_host.reset(new EditorHost{
        services.store, services.keyCodec, services.texts, services.prompts, parts.settings,
        services.launcher, [this] { return m_parts.ActiveProfile(); },
        [this, &applier] {
            applier.SetModified(true);
            emit edited();
        },
        [this] { m_parts.RefreshKeys(); }, [this] { EditorOpened(); }, [this] { EditorClosed(); },
        [this] { m_parts.ShowHelp(); }, OnScreenKeyboardProgram(),
        [] {
            static const QElapsedTimer clock = [] {
                QElapsedTimer started;
                started.start();
                return started;
            }();
            return static_cast<std::uint64_t>(clock.elapsed());
        },
        GKeysNotPlayed(services)});
}

EditorLauncher::~EditorLauncher() {
    // The editors use the host, which goes with this launcher: they go first, before the window
    // (their parent) deletes its children.
    delete m_keyEditor;
    delete m_macroEditor;
}

// The editors are built when first opened and then kept: most sessions never open them, and
// their skins cost start-up time and memory.
template <typename Editor>
Editor* EditorLauncher::EnsureEditor(Editor*& editor, WindowSkin skin) {
    if (editor != nullptr) {
        return editor;
    }
    auto* created = new Editor(*m_host, m_parts.SkinOf(skin), m_window);
    created->setWindowTitle(
        QString::fromStdU16String(m_parts.services.texts.Text(TextKey::MAIN_CAPTION)));
    if (!created->Initialise()) {
        m_parts.services.prompts.ShowMessage(created->SkinError().toStdU16String(),
                                             MessageKind::Error);
        delete created;
        return nullptr;
    }
    editor = created;
    return editor;
}

bool EditorLauncher::EditorOpen() const {
    return (m_keyEditor != nullptr && m_keyEditor->IsOpen()) ||
           (m_macroEditor != nullptr && m_macroEditor->IsOpen());
}

void EditorLauncher::OpenKeyEditor(int controlId) {
    const int slot = m_parts.keys.SlotOfControl(controlId);
    CPngButton* button = m_parts.keys.ButtonOfControl(controlId);
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

void EditorLauncher::OpenMacroEditor() {
    if (EditorOpen()) {
        return;
    }
    if (CKorvel_DlgMacro* editor = EnsureEditor(m_macroEditor, WindowSkin::MacroEditor)) {
        editor->OpenEditor();
    }
}

void EditorLauncher::CancelEditors() {
    if (m_keyEditor != nullptr) {
        m_keyEditor->CancelEditor();
    }
    if (m_macroEditor != nullptr) {
        m_macroEditor->CancelEditor();
    }
}

}  // namespace korvel
