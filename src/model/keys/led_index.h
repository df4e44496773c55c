#pragma once

#include <cstdint>
#include <span>

#include "model/keys/key_codes.h"

namespace korvel {

// The position of a key's light in the keyboard's grid of 6 rows by 21 columns:
// row * 21 + column. It is its own numbering, neither the KeySlot nor the matrix position.
using LedIndex = int;

inline constexpr int kLedRows = 6;
inline constexpr int kLedColumns = 21;
inline constexpr int kLedCount = kLedRows * kLedColumns;  // 126
inline constexpr LedIndex kNoLed = -1;
inline constexpr LedIndex kFnLed = 110;
inline constexpr LedIndex kGKeysLed = 125;  // all nine G keys light together

// The buttons of the main window's key grid that carry a light: 104 keys, Fn, and the nine G keys.
enum class GridKeyKind : std::uint8_t { Key, Fn, GKey };

struct GridKey {
    GridKeyKind kind;
    ScanCode scan;  // Key only
    int gKey;       // GKey only: 1..9
    LedIndex led;
};

inline constexpr int kGridPlainKeys = 104;
inline constexpr int kGridKeys = kGridPlainKeys + 1 + kGKeys;  // 114
inline constexpr int kFnGridKey = kGridPlainKeys;              // the index of Fn in KeyGrid()

// Every key of the grid by its index 0..113: the 104 keys in keyboard rows, then Fn, then G1..G9.
std::span<const GridKey, kGridKeys> KeyGrid();

// The grid index of a key, or -1 when the key is not on the grid.
int GridKeyOfScan(ScanCode scan);
int GridKeyOfGKey(int n);  // n = 1..9

// The light of a key of the grid, kNoLed for any other key.
LedIndex LedOfScan(ScanCode scan);

}  // namespace korvel
