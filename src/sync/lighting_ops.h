#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <span>

#include "device/device_link.h"
#include "model/lighting/lighting_state.h"
#include "ports/lighting_view.h"

namespace korvel {

// The operation does not apply (an argument out of range, an effect the keyboard does not offer,
// per-key colours on a keyboard without them, painting while the custom effect is not selected):
// nothing was sent and nothing changed.
inline constexpr int LIGHTING_REFUSED = -301;

// Reads the keyboard's lighting into a LightingState and writes single changes back at once,
// each as one short command sequence: DevBegin, the writes, DevEnd.
//
// Results of writes: DEV_OK when the keyboard took every command (or nothing needed sending),
// else the first failing result code. The window ignores them: the state is updated whether or
// not the keyboard took the bytes, and the panel shows what the user chose. A sequence stops at
// its first failed command, so that a keyboard that stopped answering does not cost a time-out
// per remaining command; DevEnd still closes every sequence whose DevBegin was written.
//
// Threads: one thread at a time: the keyboard service's for an object on the keyboard's link (the
// window keeps a second one, on a link that sends nothing, for what its panel shows). State, link
// and view are the caller's and must outlive this object.
class LightingOps {
public:
    // `settingsFile` is deze.ini, where LightingPanelOn is kept; empty: nothing is kept and the
    // panel reads as off.
    LightingOps(LightingState& state, DeviceLink& link, LightingView& view,
                std::filesystem::path settingsFile);

    LightingState& State() { return m_state; }

    // Fills the whole state: information block, colour tables of all three profiles (only when
    // effect 20 is offered), the three records, LightingPanelOn. Returns -1 when the information
    // block cannot be read (the EffectList and selector are then empty, the rest keeps its
    // previous values), else 0.
    int ReadAllLighting();
    // The same, reading only the current profile's colour table.
    int ReadCurrentLighting();
    // Whether every command of the last read was taken; what could not be read kept its
    // previous value.
    bool LastReadComplete() const { return m_lastReadComplete; }

    // Decodes the current profile's record into state.current.
    void DecodeCurrentRecord();
    // Every key's FollowsBaseColor for every profile: its colour equals that profile's base
    // colour. Only on a keyboard that offers effect 20.
    void RecomputeBaseMembership();

    // Writes `bytes` (1..42, inside the record) at current profile * 42 + offset.
    int WriteParamField(int offset, std::span<const std::uint8_t> bytes);

    // Handled and offered effects only. Colour effects also write the multicolour flag.
    int SetEffect(int effect);
    // 0..5; nothing is written when the value is already the current one.
    int SetBrightness(int brightness);
    int SetSpeed(int speed);
    int SetDirection(int direction);    // 1 left / spread, 0 right / converge
    int SetEffectColor(Color color);    // also turns multicolour off
    int SetMulticolor(int multicolor);  // 0 or 1
    int SetPaintColor(Color color);
    int SetPaintTool(int tool);       // 0 paint colour, 1 base colour
    int SetEffect17Color(int color);  // 0 red, 1 yellow, 2 green, 3 blue
    int SetReportRate(int index);     // 0..3

    // Recolours the keys that follow the base colour, writes the base colour and uploads the
    // current colour table (the last two only on a keyboard with per-key colours).
    int SetBaseColor(Color color);
    // The base-colour picker: SetBaseColor when the colour differs from the stored one, then the
    // base colour is written once more in a sequence of its own.
    int ChooseBaseColor(Color color);

    // Lays the paint tool's colour on one key of the grid (not a G key) and sends that light
    // alone. Only while the panel is on and the custom effect is selected.
    int PaintKey(int gridKey);
    // The current colour table in seven chunks, inside a sequence the caller opened.
    int UploadKeyColors();
    // Preset 0..3 of LightingPresets() on the current table; the base colour ends black.
    int ApplyPreset(int preset);
    // The default lighting of the current profile, then the "FPS" preset. Only while the panel
    // is on.
    int RestoreLightingDefaults();

    // Puts the current profile's lighting back as `picture` holds it (an undo or redo): the state
    // at once, then its whole record and, on a keyboard with per-key colours, its colour table in
    // one sequence.
    int PutBackLighting(const LightingPicture& picture);

    // Turns the panel on or off and keeps the choice in the settings file (false when it could
    // not be written).
    bool SetLightingPanelOn(bool on);
    // Asks the view to redraw every key's tint from the state.
    void TintGrid();

private:
    using Step = std::function<int()>;

    int Read(bool allProfiles);
    // DevBegin, the steps until one fails (none when DevBegin failed), DevEnd when DevBegin was
    // written.
    int Sequence(std::initializer_list<Step> steps);
    // Updates the mirror of the current record, then sends the field from it.
    void StoreParam(int offset, std::span<const std::uint8_t> bytes);
    Step SendParam(int offset, int count);
    int WriteColorField(int offset, Color color);
    int WriteByteField(int offset, int value);
    void TintKey(int gridKey);

    LightingState& m_state;
    DeviceLink& m_link;
    LightingView& m_view;
    std::filesystem::path m_settingsFile;
    bool m_lastReadComplete = false;
};

}  // namespace korvel
