// The main window's profile bar, flip mode and profile switching.
#include <QEventLoop>
#include <QMenu>

#include "device/device_link.h"
#include "gui/editors/profile_dialog.h"
#include "gui/editors/profile_file_chooser.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/keyboard_jobs.h"
#include "gui/mainwnd/korvel_dlg.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/mainwnd/profile_bar.h"
#include "gui/platform/launchers.h"
#include "gui/widgets/png_button.h"
#include "gui/widgets/skin_placement.h"
#include "model/files/profile_file.h"
#include "model/files/profile_locations.h"
#include "model/image/config_store.h"
#include "ports/prompts.h"
#include "ports/settings_store.h"
#include "sync/keyboard_requests.h"
#include "sync/keyboard_service.h"
#include "sync/lighting_ops.h"
#include "text/text_table.h"

namespace korvel {
namespace {

constexpr std::string_view kFlipValue = "Flip";
constexpr int kFlipKeys = 6;
// The scene-mode button's text area: clear of its edge at the left, of its mark at the right.
constexpr int kSceneTextMargin = 10;
constexpr int kSceneMarkMargin = 34;
const QString kButtonInfo = QStringLiteral("BUTTONINFO");

QString Q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

}  // namespace

void CKorvelDlg::SyncProfileButtons() {
    const int active = ActiveProfile();
    if (active >= 0 && active < kOnboardProfiles) {
        m_profileBar->ShowProfile(active);
        m_lightingPanel->SetCurrentProfile(active);
    }
}

void CKorvelDlg::OnProfileButton(int profile) {
    if (m_lightingPanel->IsOn()) {
        m_lightingPanel->TurnOff();
    }
    if (ActiveProfile() == profile) {
        return;
    }
    if (SwitchProfile(profile)) {
        // Shown at once; the switch's end shows what the keyboard then reports.
        m_profileBar->ShowProfile(profile);
    }
}

void CKorvelDlg::OnReportRate(int index) {
    m_profileBar->ShowReportRate(index);
    m_lightingPanel->Change("report-rate", [index](LightingOps& ops) { ops.SetReportRate(index); });
}

void CKorvelDlg::RestoreDefaults() {
    if (m_services.prompts.AskYesNo(m_services.texts.Text(TextKey::MAIN_PROMPT_DEFAULT),
                                    Answer::No) != Answer::Yes) {
        return;
    }
    // With no keyboard there is no active profile whose keys could be cleared.
    const int active = ActiveProfile();
    if (active < 0) {
        return;
    }
    m_keyGrid->ResetProfileKeys(m_services.store.EditingConfig(), active);
    SetModified(true);
    if (m_lightingPanel->IsOn()) {
        m_lightingPanel->Change({}, [](LightingOps& ops) { ops.RestoreLightingDefaults(); });
        m_lightingPanel->Redraw();
    }
    // The cleared keys go to the keyboard at once; a download that fails is said, not hidden.
    auto* connection = new QMetaObject::Connection;
    *connection = connect(this, &CKorvelDlg::applyFinished, this, [this, connection](bool done) {
        disconnect(*connection);
        delete connection;
        if (!done) {
            m_services.prompts.ShowMessage(Caption("MAIN_PROMPT_DEFAULT_FAILED"),
                                           MessageKind::Warning);
        }
    });
    Apply();
}

int CKorvelDlg::Flip() const {
    const auto value = Settings().ReadString(kProfilesSection, kFlipValue);
    return value && *value == u"1" ? 1 : 0;
}

void CKorvelDlg::ToggleFlip() {
    Settings().WriteString(kProfilesSection, kFlipValue, Flip() == 0 ? u"1" : u"0");
    UpdateFlipControls();
}

void CKorvelDlg::LayOutFlipControls() {
    for (int n = 1; n <= kFlipKeys; ++n) {
        auto* key = new CPngButton(this);
        const QString entry = QStringLiteral("FLIP_D%1").arg(n);
        key->setObjectName(entry);
        PlaceImageButton(key, Skin(), kButtonInfo, entry, &m_flipSurfaces);
        m_flipKeys[static_cast<std::size_t>(n - 1)] = key;
    }
    const struct {
        int id;
        const char* entry;
    } arrows[] = {{kFlipArrowLeft, "LEFT_ARROW"}, {kFlipArrowRight, "RIGHT_ARROW"}};
    for (const auto& arrow : arrows) {
        auto* button = new CPngButton(this);
        button->setObjectName(QString::fromLatin1(arrow.entry));
        button->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_controls[arrow.id] = button;
    }
    for (int toggle : {kFlipToggleLeft, kFlipToggleRight}) {
        connect(Control(toggle), &QAbstractButton::clicked, this, &CKorvelDlg::ToggleFlip);
        // The arrow above a toggle follows when the toggle shows its hover face.
        Control(toggle)->SetAfterDraw([this, toggle](CPngButton& button, bool) {
            if (button.IsHovered()) {
                ShowArrow(toggle);
            }
        });
        ShowArrow(toggle);
    }
}

void CKorvelDlg::ShowArrow(int toggleId) {
    const bool left = toggleId == kFlipToggleLeft;
    const QString face = QStringLiteral("%1%2")
                             .arg(QString::fromLatin1(Flip() == 1 ? "UP_ARROW_" : "DOWN_ARROW_") +
                                  (left ? QStringLiteral("LEFT") : QStringLiteral("RIGHT")))
                             .arg(1);
    CPngButton* arrow = Control(left ? kFlipArrowLeft : kFlipArrowRight);
    PlaceImageButtonAt(arrow, Skin(), kButtonInfo,
                       left ? QStringLiteral("LEFT_ARROW") : QStringLiteral("RIGHT_ARROW"),
                       QStringLiteral("BUTTONINFO2"), face, &m_arrowSurfaces);
    arrow->update();
}

void CKorvelDlg::UpdateFlipControls() {
    const bool flipped = Flip() == 1;
    // F1..F4 and D1..D6 share their place: only the set of the current flip value is there.
    for (int id : {kKeyF1, kKeyF2, kKeyF3, kKeyF4}) {
        CPngButton* key = m_keyGrid->ButtonOfControl(id);
        key->setEnabled(!flipped);
        key->setVisible(!flipped);
    }
    for (CPngButton* key : m_flipKeys) {
        key->setEnabled(flipped);
        key->setVisible(flipped);
        key->raise();
    }
    const SkinSurfaces& set = flipped ? m_flipSurfaces : m_surfaces;
    m_flipIndicatorSurfaces = SkinSurfaces{set.normal,          set.normal, set.normal,
                                           m_surfaces.disabled, set.normal, set.atlas};
    for (auto* state :
         {&m_flipIndicatorSurfaces.lazyNormal, &m_flipIndicatorSurfaces.lazyHover,
          &m_flipIndicatorSurfaces.lazyPressed, &m_flipIndicatorSurfaces.lazyChecked}) {
        *state = set.lazyNormal;
    }
    m_flipIndicatorSurfaces.lazyDisabled = m_surfaces.lazyDisabled;
    Control(kFlipIndicator)->SetStatePictures(&m_flipIndicatorSurfaces);
    for (int toggle : {kFlipToggleLeft, kFlipToggleRight}) {
        ShowArrow(toggle);
    }
}

void CKorvelDlg::SetLightingPanelOn() {
    // The panel edits the keyboard's active profile: select it again first (the switch is
    // queued before any change the panel makes).
    if (!SwitchProfile(ActiveProfile())) {
        return;
    }
    m_lightingPanel->TurnOn();
}

void CKorvelDlg::ApplyAndWait() {
    QEventLoop loop;
    connect(this, &CKorvelDlg::applyFinished, &loop, &QEventLoop::quit);
    Apply();
    if (m_applying) {
        loop.exec();
    }
}

bool CKorvelDlg::SwitchProfile(int index) {
    const int target = index >= kOnboardProfiles ? 0 : index;
    if (m_openEditors > 0) {
        m_services.prompts.ShowMessage(m_services.texts.Text(TextKey::PROFILE_SEELCT_PROMPT2),
                                       MessageKind::Information);
        return false;
    }
    if (m_modified && !m_savePromptShowing) {
        m_savePromptShowing = true;
        const Answer answer = m_services.prompts.AskYesNo(
            m_services.texts.Text(TextKey::PROFILE_SELECT_PROMPT), Answer::No);
        m_savePromptShowing = false;
        if (answer == Answer::Yes) {
            ApplyAndWait();
        } else {
            SetModified(false);
            if (ActiveProfile() >= 0) {
                // The edits are dropped: the window shows what the working file holds.
                LoadWorkingFile();
            }
        }
    }
    if (target >= 0) {
        m_jobs->Submit<bool>(
            "profile switch",
            [target](JobContext& job) { return SwitchActiveProfile(job.Link(), target); },
            [this](JobResult<bool> result) {
                if (m_shutDown) {
                    return;
                }
                if (result.end == JobEnd::Busy) {
                    ShowKeyboardHeld(result.busyHolder);
                }
                if (!result.value.value_or(false)) {
                    // The keyboard did not take it: keep what the window holds, say so, and
                    // show the profile the keyboard now reports.
                    m_services.prompts.ShowMessage(Caption("PROFILE_SWITCH_FAILED"),
                                                   MessageKind::Warning);
                }
                ShowActiveProfile();
            });
    }
    RefreshKeyGrid();
    BuildSceneMenu();
    return true;
}

void CKorvelDlg::ShowActiveProfile() {
    // Everything the profile bar and the lighting panel show follows the keyboard's profile,
    // whichever way it was switched.
    SyncProfileButtons();
    m_lightingPanel->ReadCurrent();
    RefreshKeyGrid();
    BuildSceneMenu();
    emit profileShown(ActiveProfile());
}

void CKorvelDlg::BuildSceneMenu() {
    if (m_sceneMenu == nullptr) {
        m_sceneMenu = new QMenu(this);
    }
    m_sceneMenu->clear();
    const auto add = [this](const QString& text, int command) {
        QAction* action = m_sceneMenu->addAction(text);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, command] { OnSceneCommand(command); });
        return action;
    };
    std::vector<QAction*> items;
    items.push_back(add(Q(m_services.texts.Text(TextKey::DEFAULT_PROFILE_NAME)), kSceneDefault));
    m_sceneMenu->addSeparator();
    // Each onboard profile under its own name (the profile buttons' captions).
    for (int p = 0; p < kOnboardProfiles; ++p) {
        const char* caption[] = {"PROFILE_1", "PROFILE_2", "PROFILE_3"};
        items.push_back(add(Q(Caption(caption[p])), kSceneProfile1 + p));
    }
    const int active = m_services.link.ActiveProfileCache();
    QAction* checked = active >= 0 && active < kOnboardProfiles
                           ? items[static_cast<std::size_t>(active + 1)]
                           : items[0];
    checked->setChecked(true);
    CPngButton* button = Control(kControlSceneMode);
    button->setText(checked->text());
    button->SetTextStyle(Skin().Style(SkinText::SceneButton));
    // The text stays clear of the drop-down mark at the button's right end.
    button->SetTextMargins(kSceneTextMargin, kSceneMarkMargin, 0, 0);
    button->SetTooltip(Q(m_services.texts.Text(TextKey::PROFILE_TIP)) + checked->text());
}

void CKorvelDlg::ShowSceneMenu() {
    CPngButton* button = Control(kControlSceneMode);
    m_sceneMenu->exec(button->mapToGlobal(QPoint(0, button->height())));
}

void CKorvelDlg::OpenProfileManager() {
    if (m_profileManager != nullptr) {
        m_profileManager->raise();
        m_profileManager->activateWindow();
        return;
    }
    ProfileFileChooser* chooser = m_services.profileFiles;
    if (chooser == nullptr) {
        if (!m_ownProfileFiles) {
            m_ownProfileFiles = std::make_unique<QtProfileFileChooser>();
        }
        chooser = m_ownProfileFiles.get();
    }
    ProfileDialogParts parts{m_services.texts,
                             Settings(),
                             m_services.store,
                             m_services.paths.DocumentsDirectory(),
                             *chooser,
                             [this] { return ActiveProfile(); },
                             [this](int profile) { return SwitchProfile(profile); },
                             [this](const std::filesystem::path& file) { return Import(file); },
                             [this] { ShowHelp(m_services.launcher, m_services.paths); }};
    auto* dialog =
        new CKorvel_DlgProfile(std::move(parts), SkinOf(WindowSkin::ProfileManager), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (!dialog->Initialise()) {
        m_services.prompts.ShowMessage(dialog->SkinError().toStdU16String(), MessageKind::Error);
        delete dialog;
        return;
    }
    m_profileManager = dialog;
    connect(this, &CKorvelDlg::profileShown, dialog, &CKorvel_DlgProfile::CheckRow);
    // Modal, but without a nested event loop: the device threads' messages keep arriving.
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->move(geometry().center() - dialog->rect().center());
    dialog->show();
}

CKorvel_DlgProfile* CKorvelDlg::ProfileManager() const {
    return m_profileManager.data();
}

void CKorvelDlg::CloseProfileManager() {
    if (m_profileManager != nullptr) {
        m_profileManager->reject();
    }
}

void CKorvelDlg::OnSceneCommand(int command) {
    SwitchProfile(command - kSceneProfile1);
}

}  // namespace korvel
