#pragma once

namespace korvel {

// Results of every operation of the command link. Callers treat anything but DEV_OK as failure.
inline constexpr int DEV_OK = 1;        // request written, reply read, status accepted
inline constexpr int DEV_NO_REPLY = 0;  // not connected (nothing sent) or no reply in all attempts
inline constexpr int DEV_WRITE_FAILED = -1;     // the request could not be written in time
inline constexpr int DEV_ERR_STATUS_FF = -102;  // the keyboard answered with status 0xFF
inline constexpr int DEV_ERR_STATUS_FE = -103;  // the keyboard answered with status 0xFE
inline constexpr int DEV_ERR_BAD_PROFILE =
    -201;  // a key-table command named a profile outside 0..2

}  // namespace korvel
