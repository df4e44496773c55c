#include "sync/keyboard_arrival.h"

#include "device/command_set.h"
#include "device/result_codes.h"

namespace korvel {

KeyboardBasics TakeKeyboardBasics(DeviceLink& link, KeyCodec& keyCodec) {
    KeyboardBasics basics;
    KeyTableBytes table{};
    if (DevReadDefaultKeyTable(link, table) == DEV_OK) {
        keyCodec.ReplaceDefaultKeyTable(table);
        basics.defaultKeyTableRead = true;
    }
    DeviceInfoBlock block;
    basics.infoResult = DevReadInfo(link, block);
    if (basics.infoResult == DEV_OK) {
        link.SetMacroCapacity(block.MacroCapacityBytes());
    }
    return basics;
}

}  // namespace korvel
