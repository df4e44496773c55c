#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace korvel {

class ShellLauncher;
class TextTable;

// The about box: what the program is, its copyright line and the link address of the main skin.
// Modeless; the main window creates it the first time it is asked for and keeps it. OK, Cancel,
// Enter and Escape only hide it.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    // The controls keep the numbers the rest of the program knows them by.
    enum ControlId : int {
        IDC_ABOUT_LINK = 1124,
        IDC_ABOUT_BANQUAN = 1205,
        IDC_ABOUT_JIESHAO = 1206,
    };

    CAboutDlg(const TextTable& texts, ShellLauncher& launcher, const QString& linkAddress,
              QWidget* parent = nullptr);

    // Reads the texts again (in the main window's caption language), shows the box and brings it
    // to the front.
    void ShowBox();
    void LoadTexts();

    const QString& LinkAddress() const { return m_linkAddress; }
    QPushButton* LinkButton() const { return m_link; }
    QLabel* IntroText() const { return m_intro; }
    QLabel* CopyrightText() const { return m_copyright; }
    QPushButton* OkButton() const { return m_ok; }

private:
    void OpenLink();

    const TextTable& m_texts;
    ShellLauncher& m_launcher;
    QString m_linkAddress;
    QLabel* m_intro = nullptr;
    QLabel* m_copyright = nullptr;
    QPushButton* m_link = nullptr;
    QPushButton* m_ok = nullptr;
};

}  // namespace korvel
