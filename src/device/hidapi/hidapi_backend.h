#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace korvel {

// The operating system's HID stack through hidapi (the hidraw variant on Linux).
//
// A hidraw node is a whole USB interface, not one collection; its report descriptor is read from
// sysfs, and HidDevice filters the reports of the collection it was opened for. hidraw paths
// (/dev/hidrawN) say nothing of the device, so the paths this backend hands out carry the vendor
// and product markers as well: "hidraw:/dev/hidraw3&vid_0c45&pid_5304&mi_01".
class HidapiBackend : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;

    bool Enumerate(std::vector<std::string>& paths) override;
    std::unique_ptr<HidConnection> Open(const std::string& path, bool forRead, bool forWrite,
                                        bool exclusive) override;
    bool Exists(const std::string& path) override;

    // The node inside one of our paths ("/dev/hidraw3"), empty when the path is not ours.
    static std::string NodeOf(const std::string& path);

private:
    bool m_initialised = false;
    std::mutex m_enumerateMutex;
};

}  // namespace korvel
