#pragma once

#include <QObject>

class QMenu;

namespace korvel {

class ApplyController;
class EditorLauncher;
class WindowParts;

// Switching the keyboard's active profile, whichever way the user asks: the profile buttons, the
// scene-mode menu, the profile manager, the lighting panel turned on. A switch is a job of the
// keyboard service; when it ends, everything the profile bar, the lighting panel, the keys and the
// scene-mode button show follows the profile the keyboard reports.
class ProfileSwitcher : public QObject {
    Q_OBJECT

public:
    ProfileSwitcher(WindowParts& parts, ApplyController& applier, const EditorLauncher& editors,
                    QObject* parent);

    // Makes onboard profile `index` (3 and above: 0) the keyboard's active one, asking first
    // whether to save unsaved key edits; refused while an editor is open. A negative index
    // switches nothing but still refreshes. False only when refused here; when the keyboard does
    // not switch, the window says so, keeps its configuration and shows the profile read again.
    bool SwitchProfile(int index);
    // Everything that shows the active profile shows the keyboard's, its lighting read again.
    void ShowActiveProfile();
    // Checks the button of the keyboard's active profile and makes it the panel's profile; an
    // unknown active profile changes nothing.
    void SyncProfileButtons();
    // Profile button 0..2: the keyboard switches to that profile.
    void OnProfileButton(int profile);
    // Report-rate button 0..3: written to the current profile's lighting at once.
    void OnReportRate(int index);
    // The lighting panel asked to be turned on: it edits the keyboard's active profile, selected
    // again first.
    void TurnLightingPanelOn();

    // The scene-mode menu (the default profile, then the profiles) and the scene-mode button's
    // text and tooltip.
    void BuildSceneMenu();
    QMenu* SceneMenu() const { return m_sceneMenu; }
    void ShowSceneMenu();

signals:
    // A switch has ended: the window shows the keyboard's active profile (-1: unknown).
    void profileShown(int profile);

private:
    WindowParts& m_parts;
    ApplyController& m_applier;
    const EditorLauncher& m_editors;
    QMenu* m_sceneMenu = nullptr;
    bool m_savePromptShowing = false;
};

}  // namespace korvel
