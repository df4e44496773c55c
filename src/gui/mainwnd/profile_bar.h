#pragma once

#include <QObject>
#include <map>

class QLabel;
class QWidget;

namespace korvel {

class DialogSkin;
class CPngButton;
struct SkinSurfaces;

// The bottom bar of the main window: profiles 1..3, restore defaults, the four report rates with
// their label, the scene-mode button and the macro button, laid out from the skin. Their commands
// are the main window's.
class ProfileBar : public QObject {
    Q_OBJECT

public:
    // `labels` is the skin section of the label texts ("Control_Name" or "Control_Name1"), or
    // empty for none.
    ProfileBar(QWidget* dialog, const DialogSkin& skin, const SkinSurfaces* surfaces,
               const QString& labels);

    // A button by its control id; null for ids that are not the bar's.
    CPngButton* Button(int controlId) const;
    QLabel* ReportRateLabel() const { return m_reportRateLabel; }
    // The label's text from another section ("Control_Name" or "Control_Name1"), or none.
    void SetLabels(const QString& labels);

    // Shows which onboard profile and which report rate (index 0..3) are current.
    void ShowProfile(int profile);
    void ShowReportRate(int index);

private:
    std::map<int, CPngButton*> m_buttons;
    const DialogSkin& m_skin;
    QLabel* m_reportRateLabel = nullptr;
};

}  // namespace korvel
