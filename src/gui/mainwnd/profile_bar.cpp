#include "gui/mainwnd/profile_bar.h"

#include <QLabel>

#include "gui/mainwnd/main_window_controls.h"
#include "gui/skin/dialog_skin.h"
#include "gui/widgets/png_button.h"
#include "gui/widgets/skin_placement.h"

namespace korvel {
namespace {

struct BarButton {
    int id;
    const char* entry;
};
constexpr BarButton kButtons[] = {
    {kProfileButton1, "FUNC_PROFILE1"},   {kProfileButton2, "FUNC_PROFILE2"},
    {kProfileButton3, "FUNC_PROFILE3"},   {kRestoreDefaults, "FUNC_DEFAULT"},
    {kReportRate1, "FUNC_REPORT1"},       {kReportRate2, "FUNC_REPORT2"},
    {kReportRate3, "FUNC_REPORT3"},       {kReportRate4, "FUNC_REPORT4"},
    {kControlSceneMode, "FUNC_PROFILES"}, {kControlMacro, "FUNC_MACRO"},
};
constexpr int kProfileButtons[] = {kProfileButton1, kProfileButton2, kProfileButton3};
constexpr int kReportButtons[] = {kReportRate1, kReportRate2, kReportRate3, kReportRate4};

}  // namespace

ProfileBar::ProfileBar(QWidget* dialog, const DialogSkin& skin, const SkinSurfaces* surfaces,
                       const QString& labels)
    : QObject(dialog), m_skin(skin) {
    const QString section = QStringLiteral("BUTTONINFO");
    for (const BarButton& entry : kButtons) {
        auto* button = new CPngButton(dialog);
        button->setObjectName(QString::fromLatin1(entry.entry));
        PlaceImageButton(button, skin, section, QString::fromLatin1(entry.entry), surfaces);
        m_buttons[entry.id] = button;
    }
    m_reportRateLabel = new QLabel(dialog);
    m_reportRateLabel->setStyleSheet(QStringLiteral("color: #d8dce4; background: transparent;"));
    PlaceControl(m_reportRateLabel, skin, section, QStringLiteral("CONTROL_UsbStatic"));
    SetLabels(labels);
}

void ProfileBar::SetLabels(const QString& labels) {
    m_reportRateLabel->setText(labels.isEmpty() ? QString()
                                                : m_skin.Value(labels, QStringLiteral("Usb"), {}));
}

CPngButton* ProfileBar::Button(int controlId) const {
    const auto it = m_buttons.find(controlId);
    return it == m_buttons.end() ? nullptr : it->second;
}

void ProfileBar::ShowProfile(int profile) {
    for (int i = 0; i < 3; ++i) {
        m_buttons.at(kProfileButtons[i])->SetChecked(i == profile);
    }
}

void ProfileBar::ShowReportRate(int index) {
    for (int i = 0; i < 4; ++i) {
        m_buttons.at(kReportButtons[i])->SetChecked(i == index);
    }
}

}  // namespace korvel
