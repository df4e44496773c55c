#pragma once

#include "device/device_link.h"
#include "model/keys/key_codec.h"

namespace korvel {

// What a keyboard that has just been found is asked for before anything else talks to it.
struct KeyboardBasics {
    bool defaultKeyTableRead = false;  // its own default key table now backs keyCodec
    int infoResult = 0;                // DevReadInfo's result; DEV_OK: the link has its capacity
};

// The one arrival routine of both programs: takes the keyboard's own default key table into
// keyCodec (keeping the built-in one when it cannot be read) and its macro capacity into the link.
// Telling the user about a failure is the caller's part.
KeyboardBasics TakeKeyboardBasics(DeviceLink& link, KeyCodec& keyCodec);

}  // namespace korvel
