#pragma once

// The colours of the default skin, as 0xRRGGBB: the skin generator draws every picture with them
// and the application style gives them to everything Qt draws itself, so that menus, tooltips,
// message boxes and the standard dialogs match the skinned windows. Plain values, no Qt.
namespace korvel::skin_palette {

inline constexpr unsigned kWindow = 0x16181d;      // window ground; inputs and lists
inline constexpr unsigned kTitle = 0x121419;       // title strip
inline constexpr unsigned kPlate = 0x1b1e25;       // panels; dialogs Qt draws
inline constexpr unsigned kCard = 0x1d2129;        // cards; menus and tooltips
inline constexpr unsigned kCap = 0x2a2f3a;         // key caps; push buttons
inline constexpr unsigned kCapHover = 0x353b48;    // a cap under the mouse
inline constexpr unsigned kCapDown = 0x1f232b;     // a pressed cap
inline constexpr unsigned kEdge = 0x353b48;        // outlines and separators
inline constexpr unsigned kLegend = 0xdfe4ec;      // legends and text
inline constexpr unsigned kMuted = 0x8b93a1;       // secondary text
inline constexpr unsigned kDisabled = 0x5d636e;    // disabled text: a legend at about 35 %
inline constexpr unsigned kAccent = 0x27c4f5;      // focus, selection, lit indicators
inline constexpr unsigned kAccentDeep = 0x1a86ad;  // pressed accent
inline constexpr unsigned kOnAccent = 0x101216;    // text on the accent
inline constexpr unsigned kWarm = 0xf5a524;        // warnings
inline constexpr unsigned kDanger = 0xe5484d;      // errors

// How long the mouse rests on a skinned control before its tooltip shows, in milliseconds.
inline constexpr int kTooltipDelayMs = 2000;

}  // namespace korvel::skin_palette
