#pragma once

#include <QObject>
#include <QPixmap>
#include <QString>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "ports/lighting_view.h"

class QComboBox;
class QWidget;

namespace korvel {

class CColorPicker;
class DialogSkin;
class CImageSlider;
class CPictureButton;
class DeviceLink;
struct DownloadCheck;
class KeyGrid;
class KeyboardJobs;
class LightingOps;
struct LightingPicture;
struct LightingState;

// The lighting group of the main window, laid out from the skin: labels with the skin's own
// texts, the on/off, direction, colour-choice and tool pictures, the two image sliders, the
// effect and preset selectors and the colour pickers. It keeps the keyboard's lighting in its
// LightingState and writes every change at once; the key grid previews it as tints.
//
// The panel never waits for the keyboard. A change is made at once to what the panel shows (the
// same lighting operations, on a link that sends nothing) and goes to the keyboard as a job of the
// keyboard service, where a mirror of the lighting takes the same change; waiting writes of one
// field merge there. A read runs as a job and the panel takes the mirror's state when it ends.
//
// While the panel is off only its label and its on/off picture are visible.
class LightingPanel : public QObject, public LightingView {
    Q_OBJECT

public:
    // `language` is the language setting: 0 takes the labels and effect names of "Control_Name" /
    // "Mode", 1 those of "Control_Name1" / "Mode1", anything else none. `settingsFile` is
    // deze.ini, where the on/off choice is kept.
    LightingPanel(QWidget* dialog, const DialogSkin& skin, int language, KeyGrid& keys,
                  DeviceLink& link, KeyboardJobs& jobs, std::filesystem::path settingsFile);
    ~LightingPanel() override;

    // A control by its id; null for ids that are not the panel's. Before the keyboard's lighting
    // is read, and while the panel is off, nothing but its title (and, once read, its switch)
    // shows.
    QWidget* Control(int controlId);
    // A bitmap of the panel, read when first asked for ("dengup.bmp", "0.bmp", ...).
    const QPixmap& Picture(const QString& file) const;

    // What the panel shows; the keyboard's mirror follows it through the service.
    const LightingState& State() const { return *m_state; }
    // Makes `change` to what the panel shows at once and sends it to the keyboard as a job.
    // Changes with the same non-empty `field` that are still waiting merge: the last one is sent.
    void Change(const std::string& field, const std::function<void(LightingOps&)>& change);
    // Hears every change that altered the lighting of the profile the panel edits: the field
    // (empty for a change of several), the profile, and its lighting before and after.
    using ChangeListener =
        std::function<void(const std::string& field, int profile, const LightingPicture& before,
                           const LightingPicture& after)>;
    void SetChangeListener(ChangeListener listener) { m_changeListener = std::move(listener); }
    // Puts the edited profile's lighting back as `picture` holds it, on the panel and the
    // keyboard, without telling the change listener (an undo or redo).
    void PutBack(const LightingPicture& picture);
    // Reads back what was last written of the edited profile's lighting (its record and, with
    // per-key colours, its colour table) and hands what differs to `done`.
    void CheckWritten(std::function<void(const DownloadCheck&)> done);
    // Writes the edited profile's whole lighting again, as the panel holds it.
    void Resend();
    bool IsOn() const;
    // The profile whose lighting the panel edits (0..2), and its report-rate index.
    void SetCurrentProfile(int profile);
    int ReportRate() const;

    // Reads the keyboard's lighting (all profiles, or the current one) as a job and shows it once
    // read (then emits read()).
    void ReadAll();
    void ReadCurrent();
    // Every control shows the current profile's lighting (RedrawLightingPanel).
    void Redraw();
    // Turns the panel on: kept in the settings file, tints and controls of the effect shown. The
    // window re-selects the active profile first.
    void TurnOn();
    // Turns the panel off: kept, tints removed, every control but the two rows hidden.
    void TurnOff();
    // A key or Fn was clicked while the panel is on: paints it when the custom effect is chosen.
    void ClickKey(int controlId);
    // Whether a key click paints now: the panel is on with the custom effect, which this
    // keyboard has. Otherwise a click opens the key's editor as usual.
    bool PaintsKeys() const;
    // The labels, effect names and the pickers' "other" caption in another language.
    void SetLanguage(int language, const QString& otherColorText);

    // The slider message: a slider moved to `position`. Only the latest position of a slider is
    // written; older messages that are still queued are dropped, so a drag never builds a queue
    // of writes.
    void OnSliderMessage(int controlId, int position);

    // LightingView.
    void ClearEffectSelector() override;
    void TintKey(int gridKey, std::optional<Color> tint) override;
    void ShowEffect(int effect) override;
    void ShowValues(const LightingValues& values) override;
    void ShowPreset(int preset) override;

protected:
    bool event(QEvent* event) override;

signals:
    // The on/off picture was clicked while the panel is off.
    void turnOnRequested();
    // The panel was turned off: the key grid shows its assignments again.
    void turnedOff();
    // What the panel shows was redrawn from the state (the report-rate buttons follow).
    void redrawn();
    // A read of the keyboard's lighting has ended and is shown.
    void read();

private:
    // Every control, its label and connections; all hidden but the title.
    void Build();
    QWidget* Add(int controlId, const char* entry, QWidget* control);
    // Gives the control at `panelIndex` its pictures, read when it is first shown.
    void Dress(std::size_t panelIndex);
    void SetLabels(int language);
    // Names for assistive technology, in the captions' language.
    void NameControlsForAssistance();
    void FillEffectSelector();
    void Read(bool allProfiles);
    // Makes `change` to what the panel shows and sends it to the keyboard as a job.
    void Send(const std::string& field, const std::function<void(LightingOps&)>& change);
    void Connect();
    void OnEffectSelected(int position);
    void OnEffectColor(const QColor& color);
    void ToggleMulticolor();
    void ShowControlsOf(int effect);
    void PlaceDirection(int effect);
    void ShowDirection(int effect, int direction);
    void PostSlider(int controlId, int position);
    CImageSlider* Slider(int controlId);
    CPictureButton* PictureOf(int controlId);
    CColorPicker* Picker(int controlId);
    QComboBox* Selector(int controlId);

    const DialogSkin& m_skin;
    KeyGrid& m_keys;
    int m_language = 1;
    KeyboardJobs& m_jobs;
    std::unique_ptr<LightingState> m_state;
    // The panel's own operations: they change m_state on a link that is never connected.
    std::unique_ptr<DeviceLink> m_offline;
    std::unique_ptr<LightingOps> m_ops;
    // The mirror on the service's thread, shared with the jobs that use it.
    struct KeyboardSide;
    static std::shared_ptr<KeyboardSide> MakeKeyboardSide(
        DeviceLink& link, const std::filesystem::path& settingsFile);
    std::shared_ptr<KeyboardSide> m_keyboard;
    QWidget* m_dialog;
    std::map<int, QWidget*> m_controls;
    QString m_otherColorText;
    // Read from the skin folder on first use.
    mutable std::map<QString, QPixmap> m_pictures;
    std::set<int> m_dressed;
    ChangeListener m_changeListener;
};

}  // namespace korvel
