#pragma once

#include <QObject>

#include "gui/editors/editor_host.h"
#include "model/macros/macro_edit_rules.h"
#include "model/macros/macro_recorder.h"
#include "model/macros/macro_working_list.h"

class QCheckBox;

namespace korvel {

class CPngButton;
class KeyCapture;
class MacroActionTable;

// The controls of the macro work area that a dialog lays out from its skin.
struct MacroWorkControls {
    MacroActionTable* table = nullptr;
    CPngButton* record = nullptr;
    CPngButton* deleteStep = nullptr;
    CPngButton* clear = nullptr;
    CPngButton* top = nullptr;
    CPngButton* up = nullptr;
    CPngButton* down = nullptr;
    CPngButton* bottom = nullptr;
    QCheckBox* recordDelay = nullptr;
};

// What the composite editor's macro page and the macro editor share: the working macro list, the
// action list with its in-place editing and ordering, the recorder with its key capture and the
// record-delay option. The editors differ only in their MacroEditRules and in how they show the
// macro list itself.
class MacroWorkArea : public QObject {
    Q_OBJECT

public:
    MacroWorkArea(QWidget* dialog, const MacroEditRules& rules, EditorHost& host,
                  MacroWorkControls controls);
    ~MacroWorkArea() override;

    MacroWorkingList& List() { return m_list; }
    const MacroEditRules& Rules() const { return m_rules; }

    // At opening: the working copies of EditingConfig's macros and the record-delay option.
    void Open();
    // Shows the selected macro's steps; the step buttons work only with a macro selected.
    void ShowSteps(int greyRow = -1);
    void FinishEdit();
    // Ends a cell edit and makes the working list EditingConfig's macros (the stale-assignment
    // rule applied); the list then counts as applied.
    void ApplyMacros();

    bool Recording() const { return m_recorder.Running(); }
    void StartRecording();
    // Stops the recorder; with askAboutHeldKeys in the rules, the user may answer to go on
    // recording, and false is answered.
    bool StopRecording();
    // Stops without a question (the dialog closes or the keyboard went away).
    void AbortRecording();
    // Feeds one key event to the recorder (the key capture calls it; tests may too).
    void OnRecordedKey(ScanCode key, bool release, bool autoRepeat);

    // Asks MacroInUse and removes the selected macro.
    bool DeleteCurrentMacro();
    // Adds a macro, or shows the maximum message; answers the new index or -1.
    int AddMacro();

    QString Text(const char* key) const;

signals:
    // Something the user changed: the dialog enables Apply.
    void changed();
    void recordingChanged(bool recording);

private:
    void ConnectControls();
    void SetStepButtonsEnabled(bool enabled);
    void StepEdited(bool didChange);
    void ShowRecordButton();

    MacroEditRules m_rules;
    EditorHost& m_host;
    MacroWorkControls m_controls;
    MacroWorkingList m_list;
    MacroRecorder m_recorder;
    KeyCapture* m_capture = nullptr;
};

}  // namespace korvel
