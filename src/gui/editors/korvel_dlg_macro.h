#pragma once

#include <array>
#include <map>
#include <utility>

#include "gui/editors/editor_host.h"
#include "gui/skin/skin_surfaces.h"
#include "gui/widgets/base_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace korvel {

class CPngButton;
class MacroWorkArea;

// The macro editor: the list of macros (add, rename in place, delete, sort by name) and, for the
// selected one, its recorded steps. Apply writes the whole list into EditingConfig, resets keys
// that play a macro no longer there, and marks the main window modified.
class CKorvel_DlgMacro : public CBaseDialog {
    Q_OBJECT

public:
    CKorvel_DlgMacro(EditorHost& host, std::shared_ptr<const DialogSkin> skin, QWidget* parent);
    ~CKorvel_DlgMacro() override;

    bool Initialise();
    void OpenEditor();
    bool IsOpen() const { return m_open; }
    bool IsModified() const { return m_modified; }

    void Apply();
    void Ok();
    void Cancel();
    // Closes without questions (the keyboard went away).
    void CancelEditor();

    QWidget* Control(int id) const;
    MacroWorkArea& MacroArea() { return *m_work; }
    QTableWidget& MacroList() { return *m_macroList; }

signals:
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::array<std::pair<QPixmap*, const char*>, 5> StatePictures();
    // Decodes the state pictures the first time the editor opens.
    void DecodeSurfaces();
    CPngButton* AddButton(int id, const char* entry);
    void FillMacroList();
    void OnRowChosen(int row);
    void OnNameEdited(int row);
    // The words of the title, the hint, the heading and the cycles field, and the cycles shown.
    void SetCaptions();
    void ShowCycles();
    QLabel* AddLabel(const char* entry);
    void SetModified(bool modified);
    void Finish();
    QString Caption(const char* key) const;

    EditorHost& m_host;
    SkinSurfaces m_surfaces;
    bool m_surfacesDecoded = false;
    std::map<int, QWidget*> m_controls;
    QTableWidget* m_macroList = nullptr;
    QCheckBox* m_recordDelay = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_hint = nullptr;
    QLabel* m_heading = nullptr;
    QLabel* m_cyclesLabel = nullptr;
    QLineEdit* m_cycles = nullptr;
    MacroWorkArea* m_work = nullptr;
    bool m_open = false;
    bool m_modified = false;
    bool m_filling = false;
    bool m_ascending = true;
};

}  // namespace korvel
