#include "sync/keyboard_requests.h"

#include "device/command_set.h"
#include "device/result_codes.h"

namespace korvel {

bool SwitchActiveProfile(DeviceLink& link, int profile) {
    link.SetActiveProfileCache(-1);
    DevSetActiveProfile(link, profile);
    if (link.ActiveProfileCache() == profile) {
        return true;
    }
    DevGetActiveProfile(link);
    return false;
}

bool EnterBootLoader(DeviceLink& link) {
    return DevEnterBoot(link) == DEV_OK;
}

}  // namespace korvel
