#include "gui/mainwnd/profile_switcher.h"

#include <QMenu>

#include "gui/mainwnd/apply_controller.h"
#include "gui/mainwnd/editor_launcher.h"
#include "gui/mainwnd/keyboard_jobs.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/mainwnd/profile_bar.h"
#include "gui/mainwnd/window_parts.h"
#include "gui/skin/dialog_skin.h"
#include "gui/widgets/png_button.h"
#include "model/image/config_store.h"
#include "ports/prompts.h"
#include "sync/keyboard_requests.h"
#include "sync/keyboard_service.h"
#include "sync/lighting_ops.h"
#include "text/text_table.h"

namespace korvel {
namespace {

// The scene-mode button's text area: clear of its edge at the left, of its mark at the right.
constexpr int kSceneTextMargin = 10;
constexpr int kSceneMarkMargin = 34;

QString Q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

}  // namespace

ProfileSwitcher::ProfileSwitcher(WindowParts& parts, ApplyController& applier,
                                 const EditorLauncher& editors, QObject* parent)
    : QObject(parent), m_parts(parts), m_applier(applier), m_editors(editors) {}

void ProfileSwitcher::SyncProfileButtons() {
    const int active = m_parts.ActiveProfile();
    if (active >= 0 && active < kOnboardProfiles) {
        m_parts.profiles.ShowProfile(active);
        m_parts.lighting.SetCurrentProfile(active);
    }
}

void ProfileSwitcher::OnProfileButton(int profile) {
    if (m_parts.lighting.IsOn()) {
        m_parts.lighting.TurnOff();
    }
    if (m_parts.ActiveProfile() == profile) {
        return;
    }
    if (SwitchProfile(profile)) {
        // Shown at once; the switch's end shows what the keyboard then reports.
        m_parts.profiles.ShowProfile(profile);
    }
}

void ProfileSwitcher::OnReportRate(int index) {
    m_parts.profiles.ShowReportRate(index);
    m_parts.lighting.Change("report-rate", [index](LightingOps& ops) { ops.SetReportRate(index); });
}

void ProfileSwitcher::TurnLightingPanelOn() {
    // The switch is queued before any change the panel makes.
    if (SwitchProfile(m_parts.ActiveProfile())) {
        m_parts.lighting.TurnOn();
    }
}

bool ProfileSwitcher::SwitchProfile(int index) {
    const int target = index >= kOnboardProfiles ? 0 : index;
    MainWindowServices& services = m_parts.services;
    if (m_editors.OpenEditors() > 0) {
        services.prompts.ShowMessage(services.texts.Text(TextKey::PROFILE_SEELCT_PROMPT2),
                                     MessageKind::Information);
        return false;
    }
    if (m_applier.IsModified() && !m_savePromptShowing) {
        m_savePromptShowing = true;
        const Answer answer = services.prompts.AskYesNo(
            services.texts.Text(TextKey::PROFILE_SELECT_PROMPT), Answer::No);
        m_savePromptShowing = false;
        if (answer == Answer::Yes) {
            m_applier.ApplyAndWait();
        } else {
            m_applier.SetModified(false);
            if (m_parts.ActiveProfile() >= 0) {
                // The edits are dropped: the window shows what the working file holds.
                m_applier.LoadWorkingFile();
            }
        }
    }
    if (target >= 0) {
        m_parts.jobs.Submit<bool>(
            "profile switch",
            [target](JobContext& job) { return SwitchActiveProfile(job.Link(), target); },
            [this](JobResult<bool> result) {
                if (m_parts.Closing()) {
                    return;
                }
                if (result.end == JobEnd::Busy) {
                    m_parts.ShowKeyboardHeld(result.busyHolder);
                }
                if (!result.value.value_or(false)) {
                    // The keyboard did not take it: keep what the window holds, say so, and
                    // show the profile the keyboard now reports.
                    m_parts.services.prompts.ShowMessage(m_parts.Caption("PROFILE_SWITCH_FAILED"),
                                                         MessageKind::Warning);
                }
                ShowActiveProfile();
            });
    }
    m_parts.RefreshKeys();
    BuildSceneMenu();
    return true;
}

void ProfileSwitcher::ShowActiveProfile() {
    // Everything the profile bar and the lighting panel show follows the keyboard's profile,
    // whichever way it was switched.
    SyncProfileButtons();
    m_parts.lighting.ReadCurrent();
    m_parts.RefreshKeys();
    BuildSceneMenu();
    emit profileShown(m_parts.ActiveProfile());
}

void ProfileSwitcher::BuildSceneMenu() {
    if (m_sceneMenu == nullptr) {
        m_sceneMenu = new QMenu(&m_parts.window);
    }
    m_sceneMenu->clear();
    // Each onboard profile under its own name (the profile buttons' captions); the one the
    // keyboard reports is checked. Nothing else is offered: there is nothing else to switch to.
    const int active = m_parts.ActiveProfile();
    QString shown = QStringLiteral("-");
    for (int p = 0; p < kOnboardProfiles; ++p) {
        const char* caption[] = {"PROFILE_1", "PROFILE_2", "PROFILE_3"};
        QAction* action = m_sceneMenu->addAction(Q(m_parts.Caption(caption[p])));
        action->setCheckable(true);
        action->setChecked(p == active);
        connect(action, &QAction::triggered, this, [this, p] { SwitchProfile(p); });
        if (p == active) {
            shown = action->text();
        }
    }
    CPngButton* button = m_parts.Control(kControlSceneMode);
    button->setText(shown);
    button->SetTextStyle(m_parts.skin.Style(SkinText::SceneButton));
    // The text stays clear of the drop-down mark at the button's right end.
    button->SetTextMargins(kSceneTextMargin, kSceneMarkMargin, 0, 0);
    button->SetTooltip(Q(m_parts.services.texts.Text(TextKey::PROFILE_TIP)) + shown);
}

void ProfileSwitcher::ShowSceneMenu() {
    CPngButton* button = m_parts.Control(kControlSceneMode);
    m_sceneMenu->exec(button->mapToGlobal(QPoint(0, button->height())));
}

}  // namespace korvel
