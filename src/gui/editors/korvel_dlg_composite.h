#pragma once

#include <QPointer>
#include <map>

#include "gui/editors/editor_host.h"
#include "gui/skin/skin_surfaces.h"
#include "gui/widgets/base_dialog.h"
#include "model/keys/key_codes.h"
#include "model/keys/key_editing.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace korvel {

class CPngButton;
class KeyCapture;
class MacroWorkArea;

// The key editor: what one key (or G key) does, a view of KeyEditing. Four pages: single key (the
// key sends another key, taken from the keyboard), macro (it plays a macro, with the macro list
// and the recorder), multimedia and function key; Clear gives the key back its default. Apply
// writes the macro list and, when the user chose something, the key's entry into EditingConfig
// and marks the main window modified; the keyboard changes when the main window applies. One
// dialog serves every key; it is window-modal while open.
class Korvel_DlgComposite : public CBaseDialog {
    Q_OBJECT

public:
    Korvel_DlgComposite(EditorHost& host, std::shared_ptr<const DialogSkin> skin, QWidget* parent);
    ~Korvel_DlgComposite() override;

    // Lays out the skin once. False when a picture cannot be used; SkinError() names it.
    bool Initialise();

    // Opens for the entry at `slot` (a KeySlot, or a G key's slot 256..273) of the keyboard's
    // active profile. macroOnly: only the macro page can be used (G9). `anchor` is the clicked
    // button's rectangle on the screen; the dialog goes beside it.
    void OpenForKey(int slot, bool macroOnly, const QRect& anchor);
    bool IsOpen() const { return m_open; }
    // No active profile is known: the editor shows the key but changes nothing.
    bool ReadOnly() const { return m_readOnly; }

    // The page buttons, Clear and Apply as the user clicks them.
    void ShowPage(KeyPage page);
    void Clear();
    void Apply();
    // Closes without applying (Cancel, the keyboard going away).
    void CancelEditor();

    // The page shown and what the user chose.
    const KeyEditing& Editing() const { return m_editing; }
    QWidget* Control(int id) const;
    MacroWorkArea& MacroArea() { return *m_work; }

    // Where a dialog of `size` goes beside the button rectangle `anchor` on `screen`.
    static QPoint PlaceBeside(const QRect& anchor, const QSize& size, const QRect& screen);

signals:
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool LoadPictures(bool decode);
    void BuildControls();
    void BuildMacroPage();
    CPngButton* AddButton(int id, const char* entry, const SkinSurfaces* surfaces);
    QLabel* AddLabel(int id, const char* entry);
    void SetCaptions();
    // The controls of the page shown, and the page button checked.
    void ShowPageControls();
    // The key, media and function controls show what the key holds or what was chosen for it.
    void ShowChoices();
    // The macro page's selection becomes the key's macro.
    void ChooseCurrentMacro();
    void SetApplyEnabled(bool enabled);
    void OnSingleKey(ScanCode key, bool release, bool autoRepeat);
    // The single-key page takes every key, so the keyboard alone could never leave it: Tab or
    // Escape pressed a second time in a row leaves it (Tab and Shift+Tab move on and the page
    // stops taking keys until its key field has the focus again, Escape closes the editor as
    // Cancel does). True when the press was such a second one.
    bool LeaveOnSecondPress(ScanCode key);
    void FillMacroCombo();
    void OnMacroChosen(int index);
    void OnMacroNameTyped(const QString& text);
    void OnCyclesTyped(const QString& text);
    void ShowCycles();
    void Finish();
    QString Caption(const char* key) const;

    EditorHost& m_host;
    std::map<int, QWidget*> m_controls;
    SkinSurfaces m_keySet;
    SkinSurfaces m_macroSet;
    SkinSurfaces m_macroOnlySet;
    SkinSurfaces m_mediaSet;
    SkinSurfaces m_functionSet;
    bool m_picturesDecoded = false;
    CPngButton* m_page = nullptr;  // the page background
    QLineEdit* m_keyDisplay = nullptr;
    QComboBox* m_mediaList = nullptr;
    QComboBox* m_functionList = nullptr;
    QComboBox* m_macroList = nullptr;
    QLineEdit* m_cycles = nullptr;
    QCheckBox* m_recordDelay = nullptr;
    MacroWorkArea* m_work = nullptr;
    KeyCapture* m_keyCapture = nullptr;
    ScanCode m_lastPress = 0;  // the single-key page's last press, for LeaveOnSecondPress

    KeyEditing m_editing;
    int m_profile = -1;
    bool m_readOnly = false;
    bool m_open = false;
};

}  // namespace korvel
