#pragma once

#include <QObject>
#include <array>

namespace korvel {

class CPngButton;
class WindowParts;
struct SkinSurfaces;

// The window's pictures the flip layer is drawn from: the main set, the flip set, the arrows'
// picture, and the indicator's set, which follows the layer shown.
struct FlipSurfaces {
    const SkinSurfaces& main;
    const SkinSurfaces& flip;
    const SkinSurfaces& arrow;
    SkinSurfaces& indicator;
};

// Flip mode: D1..D6 stand where F1..F4 are while it is on. The two toggles switch it, the arrows
// above them and the indicator behind the keys show it; the choice is kept in the settings
// ("Flip": "0" or "1").
class FlipControls : public QObject {
    Q_OBJECT

public:
    FlipControls(WindowParts& parts, FlipSurfaces surfaces, QObject* parent);

    // Lays out D1..D6 and the arrows (the toggles and the indicator are the window's controls).
    void LayOut();
    int Flip() const;
    void Toggle();
    // Shows the keys, arrows and indicator of the current flip value.
    void Update();
    CPngButton* Key(int n) const { return m_keys[static_cast<std::size_t>(n - 1)]; }

private:
    void ShowArrow(int toggleId);

    WindowParts& m_parts;
    FlipSurfaces m_surfaces;
    std::array<CPngButton*, 6> m_keys{};
    CPngButton* m_leftArrow = nullptr;
    CPngButton* m_rightArrow = nullptr;
};

}  // namespace korvel
