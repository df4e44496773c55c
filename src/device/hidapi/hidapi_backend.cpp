#include "device/hidapi/hidapi_backend.h"

#include <hidapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "device/timed_writer.h"

namespace korvel {
namespace {

constexpr std::string_view kPrefix = "hidraw:";

// The sysfs folder of a hidraw node: /sys/class/hidraw/hidrawN/device.
std::filesystem::path SysfsDeviceOf(const std::string& node) {
    return std::filesystem::path("/sys/class/hidraw") / std::filesystem::path(node).filename() /
           "device";
}

std::uint16_t HexMarker(const std::string& path, std::string_view marker) {
    const std::size_t at = path.find(marker);
    if (at == std::string::npos) {
        return 0;
    }
    return static_cast<std::uint16_t>(std::strtoul(path.c_str() + at + marker.size(), nullptr, 16));
}

class HidapiConnection : public HidConnection {
public:
    HidapiConnection(hid_device* device, HidAttributes attributes,
                     std::vector<std::uint8_t> descriptor)
        : m_device(device),
          m_attributes(attributes),
          m_descriptor(std::move(descriptor)),
          m_writer(std::make_unique<TimedWriter>(
              [device](const std::uint8_t* buffer, std::size_t length) {
                  return hid_write(device, buffer, length);
              })) {}
    ~HidapiConnection() override {
        m_writer.reset();  // waits for a write still running on the device
        hid_close(m_device);
    }

    HidAttributes Attributes() const override { return m_attributes; }
    std::vector<std::uint8_t> ReportDescriptor() const override { return m_descriptor; }

    // A hidraw write blocks until the kernel has sent the report, which may take seconds on a
    // keyboard that does not take it; the writer keeps the caller's time-out.
    TransferResult Write(const std::uint8_t* buffer, std::size_t length, std::size_t& count,
                         int timeoutMs) override {
        return m_writer->Write(buffer, length, count, timeoutMs);
    }

    TransferResult Read(std::uint8_t* buffer, std::size_t length, std::size_t& count,
                        int timeoutMs) override {
        count = 0;
        const int read = hid_read_timeout(m_device, buffer, length, timeoutMs);
        if (read < 0) {
            return TransferResult::Failed;
        }
        if (read == 0) {
            return TransferResult::TimedOut;
        }
        count = static_cast<std::size_t>(read);
        return TransferResult::Done;
    }

private:
    hid_device* m_device;
    HidAttributes m_attributes;
    std::vector<std::uint8_t> m_descriptor;
    std::unique_ptr<TimedWriter> m_writer;
};

}  // namespace

HidapiBackend::HidapiBackend() : m_initialised(hid_init() == 0) {}

HidapiBackend::~HidapiBackend() {
    if (m_initialised) {
        hid_exit();
    }
}

std::string HidapiBackend::NodeOf(const std::string& path) {
    if (!path.starts_with(kPrefix)) {
        return {};
    }
    const std::string rest = path.substr(kPrefix.size());
    return rest.substr(0, rest.find('&'));
}

bool HidapiBackend::Enumerate(std::vector<std::string>& paths) {
    if (!m_initialised) {
        return false;
    }
    std::lock_guard lock(m_enumerateMutex);
    paths.clear();
    hid_device_info* list = hid_enumerate(0, 0);
    for (hid_device_info* info = list; info != nullptr; info = info->next) {
        if (info->path == nullptr) {
            continue;
        }
        char markers[64];
        std::snprintf(markers, sizeof markers, "&vid_%04x&pid_%04x&mi_%02x", info->vendor_id,
                      info->product_id, static_cast<unsigned>(info->interface_number & 0xFF));
        std::string path = std::string(kPrefix) + info->path + markers;
        // hidapi may list a node once per collection; the node is one interface.
        if (std::find(paths.begin(), paths.end(), path) == paths.end()) {
            paths.push_back(std::move(path));
        }
    }
    hid_free_enumeration(list);
    return true;
}

std::unique_ptr<HidConnection> HidapiBackend::Open(const std::string& path, bool /*forRead*/,
                                                   bool /*forWrite*/, bool /*exclusive*/) {
    const std::string node = NodeOf(path);
    if (node.empty() || !m_initialised) {
        return nullptr;
    }
    std::ifstream in(SysfsDeviceOf(node) / "report_descriptor", std::ios::binary);
    std::vector<std::uint8_t> descriptor((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    if (descriptor.empty()) {
        return nullptr;
    }
    hid_device* device = hid_open_path(node.c_str());
    if (device == nullptr) {
        return nullptr;
    }
    const HidAttributes attributes{HexMarker(path, "&vid_"), HexMarker(path, "&pid_"), 0};
    return std::make_unique<HidapiConnection>(device, attributes, std::move(descriptor));
}

bool HidapiBackend::Exists(const std::string& path) {
    const std::string node = NodeOf(path);
    std::error_code ec;
    return !node.empty() && std::filesystem::exists(node, ec);
}

}  // namespace korvel
