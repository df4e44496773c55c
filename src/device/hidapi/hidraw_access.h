#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace korvel {

// A hidraw node of the keyboard that is present but that this user may not open.
struct BlockedHidrawNode {
    std::string node;  // "/dev/hidraw3"
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::string reason;  // the system's words: "Permission denied"
};

// Walks SYSTEM_ROOT/sys/class/hidraw and returns every node whose HID device carries the
// keyboard's vendor and product ids and whose SYSTEM_ROOT/dev/hidrawN cannot be opened for reading
// and writing because access is refused (EACCES, EPERM). A node that opens, or fails for another
// reason, is not listed: "present but not openable" is kept apart from "not there". Nor is a node
// whose report descriptor (device/report_descriptor) holds neither the command nor the event
// collection: the boot keyboard interface, which the programs never open and the udev rule
// rightly keeps from the user.
//
// The system root is "/" for the real system; tests hand in a folder that stands for it.
std::vector<BlockedHidrawNode> FindBlockedKeyboardNodes(const std::filesystem::path& systemRoot);

// The system root the programs scan: $KORVEL_SYSTEM_ROOT when set (a stand-in tree for
// diagnosis and tests), otherwise "/".
std::filesystem::path HidrawSystemRoot();

}  // namespace korvel
