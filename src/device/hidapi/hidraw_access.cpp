#include "device/hidapi/hidraw_access.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <span>
#include <system_error>

#include "base/file_io.h"
#include "device/hid_device.h"
#include "device/hid_report_descriptor.h"
#include "device/keyboard_identity.h"

namespace korvel {
namespace {

// The HID_ID line of a hidraw device's uevent file: "HID_ID=0003:00000C45:00005304" (bus, vendor,
// product), as the kernel writes it for every HID device.
bool ReadHidId(const std::filesystem::path& uevent, std::uint16_t& vendor, std::uint16_t& product) {
    std::ifstream in(uevent);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.starts_with("HID_ID=")) {
            continue;
        }
        unsigned bus = 0;
        unsigned long v = 0;
        unsigned long p = 0;
        if (std::sscanf(line.c_str() + 7, "%x:%lx:%lx", &bus, &v, &p) != 3) {
            return false;
        }
        vendor = static_cast<std::uint16_t>(v & 0xFFFF);
        product = static_cast<std::uint16_t>(p & 0xFFFF);
        return true;
    }
    return false;
}

// The longest report descriptor the kernel keeps (HID_MAX_DESCRIPTOR_SIZE).
constexpr std::uintmax_t kMaxReportDescriptor = 4096;

// Whether the HID interface whose sysfs folder is `device` is one the programs open: the one with
// the command collection or the one with the event collection. The udev rule gives the user only
// those, so a refused boot keyboard interface is as it should be. A descriptor that cannot be read
// or parsed says nothing, and the node counts.
bool ProgramsOpen(const std::filesystem::path& device) {
    const FileBytes file = ReadFileBytes(device / "report_descriptor", kMaxReportDescriptor);
    if (file.status != FileReadStatus::Ok) {
        return true;
    }
    const std::optional<HidReportDescriptor> descriptor = HidReportDescriptor::Parse(
        std::span(reinterpret_cast<const std::uint8_t*>(file.bytes.data()), file.bytes.size()));
    if (!descriptor) {
        return true;
    }
    return std::any_of(
        descriptor->TopLevelCollections().begin(), descriptor->TopLevelCollections().end(),
        [](const HidCollectionInfo& collection) {
            return (collection.usagePage == kCommandUsagePage &&
                    collection.usage == kCommandUsage) ||
                   (collection.usagePage == kEventUsagePage && collection.usage == kEventUsage);
        });
}

}  // namespace

std::vector<BlockedHidrawNode> FindBlockedKeyboardNodes(const std::filesystem::path& systemRoot) {
    std::vector<BlockedHidrawNode> blocked;
    std::error_code error;
    std::filesystem::directory_iterator it(systemRoot / "sys/class/hidraw", error);
    if (error) {
        return blocked;
    }
    std::vector<std::filesystem::path> entries;
    for (const auto& entry : it) {
        entries.push_back(entry.path());
    }
    std::sort(entries.begin(), entries.end());
    for (const std::filesystem::path& entry : entries) {
        std::uint16_t vendor = 0;
        std::uint16_t product = 0;
        if (!ReadHidId(entry / "device" / "uevent", vendor, product)) {
            continue;
        }
        char markers[32];
        std::snprintf(markers, sizeof markers, "vid_%04x&pid_%04x", vendor, product);
        if (!PathMatchesKeyboard(markers) || !ProgramsOpen(entry / "device")) {
            continue;
        }
        const std::filesystem::path node = systemRoot / "dev" / entry.filename();
        const int fd = ::open(node.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
        if (fd >= 0) {
            ::close(fd);
            continue;
        }
        const int cause = errno;
        if (cause == EACCES || cause == EPERM) {
            blocked.push_back({node.string(), vendor, product, std::strerror(cause)});
        }
    }
    return blocked;
}

std::filesystem::path HidrawSystemRoot() {
    const char* root = std::getenv("KORVEL_SYSTEM_ROOT");
    return root != nullptr && *root != '\0' ? std::filesystem::path(root)
                                            : std::filesystem::path("/");
}

}  // namespace korvel
