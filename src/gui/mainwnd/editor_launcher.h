#pragma once

#include <QObject>
#include <memory>

#include "gui/mainwnd/window_skins.h"

namespace korvel {

class ApplyController;
class CKorvel_DlgMacro;
class Korvel_DlgComposite;
class WindowParts;
struct EditorHost;

// The main window's editors: the key editor opened beside a clicked key and the macro editor.
// Each is built and skinned the first time it opens, then kept; one editor is open at a time, and
// while one is, the count of open editors holds profile switches back. The window owns it and
// ends it before its own children go.
class EditorLauncher : public QObject {
    Q_OBJECT

public:
    EditorLauncher(WindowParts& parts, ApplyController& applier, QWidget* window);
    ~EditorLauncher() override;

    // Opens the key editor for a key button's control id; G9 gets the macro page only.
    void OpenKeyEditor(int controlId);
    // The "Macros" button.
    void OpenMacroEditor();
    // Null until first opened.
    Korvel_DlgComposite* KeyEditor() const { return m_keyEditor; }
    CKorvel_DlgMacro* MacroEditor() const { return m_macroEditor; }
    // Closes whichever editor is open, without applying (the keyboard went away).
    void CancelEditors();

    // Editors count themselves open while they run.
    void EditorOpened() { ++m_openEditors; }
    void EditorClosed() { --m_openEditors; }
    int OpenEditors() const { return m_openEditors; }

signals:
    // An editor applied its edits to EditingConfig.
    void edited();

private:
    bool EditorOpen() const;
    // The editor, built and skinned on first use; null (after saying why) when its skin cannot be
    // used.
    template <typename Editor>
    Editor* EnsureEditor(Editor*& editor, WindowSkin skin);

    WindowParts& m_parts;
    QWidget* m_window;
    std::unique_ptr<EditorHost> m_host;
    Korvel_DlgComposite* m_keyEditor = nullptr;
    CKorvel_DlgMacro* m_macroEditor = nullptr;
    int m_openEditors = 0;
};

}  // namespace korvel
