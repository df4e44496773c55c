#include "model/keys/led_index.h"

#include <array>

namespace korvel {
namespace {

constexpr GridKey Key(ScanCode scan, LedIndex led) {
    return {GridKeyKind::Key, scan, 0, led};
}
constexpr GridKey G(int n) {
    return {GridKeyKind::GKey, 0, n, kGKeysLed};
}

// The main window's keys in its rows, each with the light the keyboard gives it. Holes in the
// light numbering (13, 17..20, 75, 77..79, ...) carry no key.
constexpr std::array<GridKey, kGridKeys> kKeyGrid = {
    // function row
    Key(0x001, 0),
    Key(0x03B, 1),
    Key(0x03C, 2),
    Key(0x03D, 3),
    Key(0x03E, 4),
    Key(0x03F, 5),
    Key(0x040, 6),
    Key(0x041, 7),
    Key(0x042, 8),
    Key(0x043, 9),
    Key(0x044, 10),
    Key(0x057, 11),
    Key(0x058, 12),
    Key(0x137, 14),
    Key(0x046, 15),
    Key(0x045, 16),
    // number row
    Key(0x029, 21),
    Key(0x002, 22),
    Key(0x003, 23),
    Key(0x004, 24),
    Key(0x005, 25),
    Key(0x006, 26),
    Key(0x007, 27),
    Key(0x008, 28),
    Key(0x009, 29),
    Key(0x00A, 30),
    Key(0x00B, 31),
    Key(0x00C, 32),
    Key(0x00D, 33),
    Key(0x00E, 34),
    Key(0x152, 35),
    Key(0x147, 36),
    Key(0x149, 37),
    Key(0x145, 38),
    Key(0x135, 39),
    Key(0x037, 40),
    Key(0x04A, 41),
    // top letter row
    Key(0x00F, 42),
    Key(0x010, 43),
    Key(0x011, 44),
    Key(0x012, 45),
    Key(0x013, 46),
    Key(0x014, 47),
    Key(0x015, 48),
    Key(0x016, 49),
    Key(0x017, 50),
    Key(0x018, 51),
    Key(0x019, 52),
    Key(0x01A, 53),
    Key(0x01B, 54),
    Key(0x02B, 55),
    Key(0x153, 56),
    Key(0x14F, 57),
    Key(0x151, 58),
    Key(0x047, 59),
    Key(0x048, 60),
    Key(0x049, 61),
    Key(0x04E, 62),
    // home row
    Key(0x03A, 63),
    Key(0x01E, 64),
    Key(0x01F, 65),
    Key(0x020, 66),
    Key(0x021, 67),
    Key(0x022, 68),
    Key(0x023, 69),
    Key(0x024, 70),
    Key(0x025, 71),
    Key(0x026, 72),
    Key(0x027, 73),
    Key(0x028, 74),
    Key(0x01C, 76),
    Key(0x04B, 80),
    Key(0x04C, 81),
    Key(0x04D, 82),
    // bottom letter row
    Key(0x02A, 84),
    Key(0x02C, 86),
    Key(0x02D, 87),
    Key(0x02E, 88),
    Key(0x02F, 89),
    Key(0x030, 90),
    Key(0x031, 91),
    Key(0x032, 92),
    Key(0x033, 93),
    Key(0x034, 94),
    Key(0x035, 95),
    Key(0x036, 97),
    Key(0x148, 99),
    Key(0x04F, 101),
    Key(0x050, 102),
    Key(0x051, 103),
    Key(0x11C, 104),
    // space row
    Key(0x01D, 105),
    Key(0x15B, 106),
    Key(0x038, 107),
    Key(0x039, 108),
    Key(0x138, 109),
    Key(0x15D, 111),
    Key(0x15C, 112),
    Key(0x11D, 113),
    Key(0x14B, 119),
    Key(0x150, 120),
    Key(0x14D, 121),
    Key(0x052, 123),
    Key(0x053, 124),
    // Fn has no key entry; it only lights.
    GridKey{GridKeyKind::Fn, 0, 0, kFnLed},
    G(1),
    G(2),
    G(3),
    G(4),
    G(5),
    G(6),
    G(7),
    G(8),
    G(9),
};

}  // namespace

std::span<const GridKey, kGridKeys> KeyGrid() {
    return kKeyGrid;
}

int GridKeyOfScan(ScanCode scan) {
    if (scan == 0) {
        return -1;
    }
    for (int i = 0; i < kGridPlainKeys; ++i) {
        if (kKeyGrid[i].scan == scan) {
            return i;
        }
    }
    return -1;
}

int GridKeyOfGKey(int n) {
    return n >= 1 && n <= kGKeys ? kFnGridKey + n : -1;
}

LedIndex LedOfScan(ScanCode scan) {
    const int key = GridKeyOfScan(scan);
    return key < 0 ? kNoLed : kKeyGrid[key].led;
}

}  // namespace korvel
