#pragma once

#include <QPointer>
#include <cstdint>
#include <map>

#include "gui/editors/editor_host.h"
#include "gui/skin/skin_surfaces.h"
#include "gui/widgets/base_dialog.h"
#include "model/keys/key_codes.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace korvel {

class CPngButton;
class KeyCapture;
class MacroWorkArea;

// The key editor: what one key (or G key) does. Four pages: single key (the key sends another
// key, taken from the keyboard), macro (it plays a macro, with the macro list and the recorder),
// multimedia and function key; Clear gives the key back its default. Apply writes the key's entry
// and the macro list into EditingConfig and marks the main window modified; the keyboard changes
// when the main window applies. One dialog serves every key; it is window-modal while open.
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
    void ShowPageOf(std::uint16_t pageType);
    void Clear();
    void Apply();
    // Closes without applying (Cancel, the keyboard going away).
    void CancelEditor();

    std::uint16_t PageType() const { return m_pageType; }
    QWidget* Control(int id) const;
    MacroWorkArea& MacroArea() { return *m_work; }
    int Slot() const { return m_slot; }

    // Where a dialog of `size` goes beside the button rectangle `anchor` on `screen`.
    static QPoint PlaceBeside(const QRect& anchor, const QSize& size, const QRect& screen);

signals:
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool LoadPictures(bool decode);
    void BuildControls();
    void BuildMacroPage();
    CPngButton* AddButton(int id, const char* entry, const SkinSurfaces* surfaces);
    QLabel* AddLabel(int id, const char* entry);
    void SetCaptions();
    void ShowPage(bool initial);
    void SwitchPage(std::uint16_t pageType);
    void SetApplyEnabled(bool enabled);
    void OnSingleKey(ScanCode key, bool release, bool autoRepeat);
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

    int m_slot = 0;
    int m_profile = -1;
    bool m_macroOnly = false;
    bool m_readOnly = false;
    bool m_open = false;
    bool m_macroPageFresh = true;
    bool m_suppress = false;
    std::uint16_t m_pageType = 0;
    ScanCode m_singleKey = 0;
    std::uint32_t m_initialValue = 0;
};

}  // namespace korvel
