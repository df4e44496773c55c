#pragma once

#include <array>
#include <cstdint>

#include "device/keyboard_identity.h"

namespace korvel {

inline constexpr int kMatrixPositions = 126;
inline constexpr int kKeyCodeBytes = 3;
inline constexpr int kKeyTableBytes = kMatrixPositions * kKeyCodeBytes;  // 378

using KeyTableBytes = std::array<std::uint8_t, kKeyTableBytes>;

// The keyboard's factory layout: what each of the 126 matrix positions does out of the box, as
// three-byte device key codes (position k at bytes 3k..3k+2). A keyboard that can be read replaces
// this with its own default table when it is connected.
extern const KeyTableBytes kBuiltInDefaultKeyTable;

}  // namespace korvel
