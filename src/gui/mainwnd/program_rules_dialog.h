#pragma once

#include <QDialog>
#include <QStringList>

#include "model/files/program_rules.h"

class QComboBox;
class QTreeWidget;

namespace korvel {

class WindowParts;

// "Profiles by program": the rules of the per-application profiles, in the order they are tried,
// each a program and its onboard profile, and the profile for every other program. Programs are
// added from the running ones (or typed), removed and moved up and down. On a desktop that does
// not tell which window is in front (Wayland) the dialog says so, and how it can still be told.
class ProgramRulesDialog : public QDialog {
    Q_OBJECT

public:
    // `running`: the programs offered to add; `followsWindows`: whether this desktop tells which
    // window is in front.
    ProgramRulesDialog(const WindowParts& parts, const ProgramRules& rules, QStringList running,
                       bool followsWindows, QWidget* parent);

    ProgramRules Rules() const;

    // What the dialog's buttons do.
    void AddProgram(const QString& program);
    void RemoveSelected();
    void MoveSelected(int by);

private:
    void AddRow(const QString& program, int profile);
    QComboBox* ProfileChoice(bool withNone) const;
    void ChooseProgramToAdd();

    const WindowParts& m_parts;
    QStringList m_running;
    QTreeWidget* m_rules = nullptr;
    QComboBox* m_otherwise = nullptr;
};

// Opens the dialog on the rules' file and writes it back when the user confirms.
void EditProgramRules(WindowParts& parts, bool followsWindows);

}  // namespace korvel
