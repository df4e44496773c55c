// The main window's own controls around the keyboard: where they lie, what their clicks do, their
// captions and tips, and the lock indicators.
#include <QLabel>
#include <QTimer>
#include <QUrl>

#include "gui/mainwnd/apply_controller.h"
#include "gui/mainwnd/editor_launcher.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/korvel_dlg.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/mainwnd/profile_bar.h"
#include "gui/mainwnd/profile_switcher.h"
#include "gui/mainwnd/window_dialogs.h"
#include "gui/mainwnd/window_parts.h"
#include "gui/platform/launchers.h"
#include "gui/platform/lock_keys.h"
#include "gui/widgets/keyboard_focus.h"
#include "gui/widgets/png_button.h"
#include "gui/widgets/skin_placement.h"
#include "text/text_table.h"
#include "version.h"

namespace korvel {
namespace {

const QString kButtonInfo = QStringLiteral("BUTTONINFO");
// How often the lock indicators look at the lock keys, in milliseconds.
constexpr int kLockPollMs = 250;

// The controls around the keyboard: id, skin entry.
struct ControlInfo {
    int id;
    const char* entry;
};
constexpr ControlInfo kControls[] = {
    {kControlOk, "CONTROL_OK"},
    {kControlCancel, "CONTROL_CANCEL"},
    {kControlApply, "CONTROL2_APPLY"},
    {kControlLink, "VELMARO_LINK"},
    {kControlHelp, "CONTROL_HELP"},
    {kControlMinimize, "CONTROL_MINIMIZE"},
    {kControlClose, "CONTROL_CLOSE"},
    {kControlMenu, "CONTROL_MENU"},
    {kControlVersion, "VELMARO_VER"},
    {kLockCaps, "LOCK_CAPS"},
    {kLockNum, "LOCK_NUM"},
    {kLockScroll, "LOCK_SCROLL"},
    {kFlipToggleLeft, "FLIP_1"},
    {kFlipToggleRight, "FLIP_2"},
};
// Pictures that lie behind keys: the G-key bank's backdrop and the flip indicator behind F1..F4.
// They take no clicks; every key above them is hovered and clicked on its own.
constexpr ControlInfo kBackdrops[] = {
    {kLockAB, "LOCK_AB"},
    {kFlipIndicator, "FLIP_0"},
};

// Captions of the main buttons: id, text key, tooltip key.
struct CaptionInfo {
    int id;
    const char* caption;
};
constexpr CaptionInfo kCaptions[] = {
    {kControlOk, "PROFILE_OK"},       {kControlCancel, "PROFILE_CANCLE"},
    {kControlApply, "PROFILE_APPLY"}, {kControlMacro, "PROFILE_MACRO"},
    {kProfileButton1, "PROFILE_1"},   {kProfileButton2, "PROFILE_2"},
    {kProfileButton3, "PROFILE_3"},   {kRestoreDefaults, "PROFILE_DEFAULT"},
};
struct TooltipInfo {
    int id;
    const char* tooltip;
};
constexpr TooltipInfo kTooltips[] = {
    {kControlHelp, "MAIN_HELP_PROMPT"},
    {kControlMinimize, "MAIN_MINIMIZE_PROMPT"},
    {kControlClose, "MAIN_CLOSE_PROMPT"},
    {kControlMenu, "MAIN_MENU_PROMPT"},
};

QString Q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

}  // namespace

void CKorvelDlg::LayOutBackdrops() {
    for (const ControlInfo& control : kBackdrops) {
        MakeShowOnly(*AddControl(control.id, control.entry));
    }
}

void CKorvelDlg::ShowLockStates() {
    // While the window is hidden nobody sees them: no questions to the display.
    if (m_lockStatesShown && !isVisible()) {
        return;
    }
    // Without a way to read them (no X11) the indicators stay unlit.
    const LockStates states = ReadLockStates().value_or(LockStates{});
    m_lockStatesShown = true;
    const std::pair<int, bool> indicators[] = {
        {kLockCaps, states.caps}, {kLockNum, states.num}, {kLockScroll, states.scroll}};
    for (const auto& [id, on] : indicators) {
        if (Control(id)->IsChecked() != on) {
            Control(id)->SetChecked(on);
        }
    }
}

CPngButton* CKorvelDlg::AddControl(int controlId, const char* skinEntry) {
    auto* button = new CPngButton(this);
    button->setObjectName(QString::fromLatin1(skinEntry));
    PlaceImageButton(button, Skin(), kButtonInfo, QString::fromLatin1(skinEntry), &m_surfaces);
    m_controls[controlId] = button;
    return button;
}

void CKorvelDlg::LayOutControls() {
    for (const ControlInfo& control : kControls) {
        AddControl(control.id, control.entry);
    }
    Control(kControlVersion)->setEnabled(false);
    // The lock indicators only show; hovering them must not change their face.
    for (int id : {kLockCaps, kLockNum, kLockScroll}) {
        MakeShowOnly(*Control(id));
    }
    m_lockTimer.setInterval(kLockPollMs);
    connect(&m_lockTimer, &QTimer::timeout, this, &CKorvelDlg::ShowLockStates);
    m_lockTimer.start();
    ShowLockStates();
    m_progress = new QLabel(this);
    PlaceControl(m_progress, Skin(), kButtonInfo, QStringLiteral("CONTROL_JDTStatic"));
    m_progress->setScaledContents(true);
    m_progress->hide();
}

void CKorvelDlg::ConnectControls() {
    connect(Control(kControlOk), &QAbstractButton::clicked, this, [this] {
        m_applier->Apply();
        PutAway();
    });
    connect(Control(kControlCancel), &QAbstractButton::clicked, this, &CKorvelDlg::PutAway);
    connect(Control(kControlApply), &QAbstractButton::clicked, m_applier, &ApplyController::Apply);
    const int profileButtons[] = {kProfileButton1, kProfileButton2, kProfileButton3};
    for (int p = 0; p < 3; ++p) {
        connect(Control(profileButtons[p]), &QAbstractButton::clicked, m_switcher,
                [this, p] { m_switcher->OnProfileButton(p); });
    }
    const int reportButtons[] = {kReportRate1, kReportRate2, kReportRate3, kReportRate4};
    for (int i = 0; i < 4; ++i) {
        connect(Control(reportButtons[i]), &QAbstractButton::clicked, m_switcher,
                [this, i] { m_switcher->OnReportRate(i); });
    }
    connect(Control(kRestoreDefaults), &QAbstractButton::clicked, m_applier,
            &ApplyController::RestoreDefaults);
    // The scene-mode button opens the profile manager; its context menu switches at once.
    connect(Control(kControlSceneMode), &QAbstractButton::clicked, m_dialogs,
            &WindowDialogs::OpenProfileManager);
    Control(kControlSceneMode)->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Control(kControlSceneMode), &QWidget::customContextMenuRequested, m_switcher,
            &ProfileSwitcher::ShowSceneMenu);
    connect(Control(kControlMacro), &QAbstractButton::clicked, m_editors.get(),
            &EditorLauncher::OpenMacroEditor);
    connect(Control(kControlHelp), &QAbstractButton::clicked, this,
            [this] { m_parts->ShowHelp(); });
    connect(Control(kControlMinimize), &QAbstractButton::clicked, this, &QWidget::showMinimized);
    connect(Control(kControlClose), &QAbstractButton::clicked, this, &CKorvelDlg::RequestExit);
    connect(Control(kControlLink), &QAbstractButton::clicked, this,
            [this] { OpenLinkAddress(m_services.launcher, m_linkAddress); });
    connect(Control(kControlMenu), &QAbstractButton::clicked, m_dialogs, &WindowDialogs::ShowMenu);
}

void CKorvelDlg::SetCaptions() {
    for (const CaptionInfo& caption : kCaptions) {
        CPngButton* button = Control(caption.id);
        button->setText(Skin().Caption(caption.caption));
        button->SetTextStyle(Skin().Style(SkinText::Button));
    }
    // The language's version label, followed by the program's version.
    const QString label = Q(m_services.texts.Text(TextKey::MAIN_BUTTON_VELMARO_VER)).trimmed();
    const QString version = QStringLiteral("v") + QString::fromLatin1(kVersion);
    Control(kControlVersion)
        ->setText(label.isEmpty() ? version : label + QLatin1Char(' ') + version);
    Control(kControlVersion)->SetTextStyle(Skin().Style(SkinText::Label));
    for (const TooltipInfo& tip : kTooltips) {
        Control(tip.id)->SetTooltip(Skin().Caption(tip.tooltip));
    }
    // What the globe opens, in words: the user guide, or the support page and its site.
    const QUrl link(m_linkAddress);
    Control(kControlLink)
        ->SetTooltip(link.isLocalFile()
                         ? Skin().Caption("MAIN_LINK_HELP_PROMPT")
                         : Skin().Caption("MAIN_LINK_PROMPT") +
                               (link.host().isEmpty() ? QString()
                                                      : QStringLiteral(" (%1)").arg(link.host())));
    m_lightingPanel->Control(kPanelSwitch)->setToolTip(Skin().Caption("LIGHTING_SWITCH_PROMPT"));
    KeyTipTexts tips;
    tips.set = m_services.texts.Text(TextKey::KEY_PROMPT_SET);
    tips.single = m_services.texts.Text(TextKey::KEY_PROMPT_SINGLE);
    tips.macro = m_services.texts.Text(TextKey::KEY_PROMPT_MACRO);
    tips.media = m_services.texts.Text(TextKey::KEY_PROMPT_MEDIA);
    tips.function = m_services.texts.Text(TextKey::KEY_PROMPT_FUNCTION);
    // What ends a tip ("A: sends B" ends with the name itself).
    tips.close = m_services.texts.ReadText("KEY_PROMPT_CLOSE", m_services.texts.TextLanguage());
    m_keyGrid->SetTipTexts(tips);
    const Language language = m_services.texts.TextLanguage();
    m_keyGrid->SetNameTexts(m_services.texts.ReadText("KEY_NAME_SET", language),
                            m_services.texts.ReadText("KEY_NAME_OWN", language));
    NameControlsForAssistance();
}

void CKorvelDlg::NameControlsForAssistance() {
    // The report-rate faces show their rate as a picture only.
    const int rates[] = {125, 250, 500, 1000};
    const int buttons[] = {kReportRate1, kReportRate2, kReportRate3, kReportRate4};
    for (int i = 0; i < 4; ++i) {
        Control(buttons[i])->setAccessibleName(Skin().Caption("A11Y_REPORT_RATE").arg(rates[i]));
    }
    // Fn is no key of the key tables: it keeps its own function.
    m_keyGrid->ButtonOfControl(kKeyFn)->setAccessibleName(
        QStringLiteral("Fn") +
        Q(m_services.texts.ReadText("KEY_NAME_OWN", m_services.texts.TextLanguage())));
}

CPngButton* CKorvelDlg::Control(int controlId) const {
    const auto it = m_controls.find(controlId);
    if (it != m_controls.end()) {
        return it->second;
    }
    return m_profileBar != nullptr ? m_profileBar->Button(controlId) : nullptr;
}

}  // namespace korvel
