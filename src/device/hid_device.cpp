#include "device/hid_device.h"

#include <algorithm>
#include <cctype>
#include <chrono>

#include "device/keyboard_identity.h"

namespace korvel {
namespace {

using Clock = std::chrono::steady_clock;

// A waiting transfer looks at the cancel signal this often: backends block in their own calls,
// which nothing else can interrupt.
constexpr int kSliceMs = 20;

struct Snapshot {
    std::shared_ptr<HidConnection> connection;
    std::vector<std::uint8_t> acceptedReportIds;
    bool usesReportIds = true;
};

class PendingFlag {
public:
    explicit PendingFlag(std::atomic<bool>& flag) : m_flag(flag) { m_flag.store(true); }
    ~PendingFlag() { m_flag.store(false); }

private:
    std::atomic<bool>& m_flag;
};

// The value of the hex digits right after `marker` (searched without regard to case), 0 when the
// marker is missing.
std::uint32_t HexAfter(std::string_view path, std::string_view marker) {
    std::string lower(path);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::size_t at = lower.find(marker);
    if (at == std::string::npos) {
        return 0;
    }
    std::uint32_t value = 0;
    for (std::size_t i = at + marker.size(); i < lower.size(); ++i) {
        const char c = lower[i];
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else {
            break;
        }
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

}  // namespace

HidDevice::HidDevice(HidBackend& backend) : m_backend(backend) {}

HidDevice::~HidDevice() {
    Close();
    ReleasePaths();
}

bool HidDevice::Enumerate() {
    std::vector<std::string> paths;
    if (!m_backend.Enumerate(paths)) {
        ReleasePaths();
        return false;
    }
    m_paths = std::move(paths);
    m_cursor = 0;
    return true;
}

const std::string* HidDevice::NextPath() {
    if (m_cursor >= m_paths.size()) {
        return nullptr;
    }
    return &m_paths[m_cursor++];
}

void HidDevice::ReleasePaths() {
    m_paths.clear();
    m_cursor = 0;
}

bool HidDevice::Open(const std::string& path, bool forRead, bool forWrite, bool overlapped,
                     bool exclusive) {
    Close();
    m_forRead = forRead;
    m_forWrite = forWrite;
    m_overlapped = overlapped;
    m_exclusive = exclusive;
    if (path.size() > kMaxDevicePath) {
        m_devicePath.clear();
        return false;
    }
    m_devicePath = path;
    std::unique_ptr<HidConnection> connection = m_backend.Open(path, forRead, forWrite, exclusive);
    if (!connection) {
        return false;
    }
    const std::vector<std::uint8_t> descriptorBytes = connection->ReportDescriptor();
    auto descriptor = HidReportDescriptor::Parse(descriptorBytes);
    if (!descriptor || descriptor->TopLevelCollections().empty()) {
        return false;
    }
    m_attributes = connection->Attributes();
    m_descriptor = std::move(descriptor);
    const HidCollectionInfo& first = m_descriptor->TopLevelCollections().front();
    m_caps = HidCaps{first.usagePage, first.usage, m_descriptor->InputReportByteLength(),
                     m_descriptor->OutputReportByteLength()};
    BuildItems();
    std::vector<std::uint8_t> inputIds;
    for (const HidCollectionInfo& collection : m_descriptor->TopLevelCollections()) {
        inputIds.insert(inputIds.end(), collection.inputReportIds.begin(),
                        collection.inputReportIds.end());
    }
    std::lock_guard lock(m_connectionMutex);
    m_connection = std::move(connection);
    m_acceptedReportIds.clear();
    m_usesReportIds = m_descriptor->UsesReportIds();
    m_inputReportIds = m_usesReportIds ? std::move(inputIds) : std::vector<std::uint8_t>{0};
    return true;
}

bool HidDevice::Close() {
    if (m_readPending.load() || m_writePending.load()) {
        Cancel();
    }
    std::shared_ptr<HidConnection> released;
    {
        std::lock_guard lock(m_connectionMutex);
        released = std::move(m_connection);
        m_acceptedReportIds.clear();
        m_inputReportIds.clear();
    }
    m_descriptor.reset();
    m_items.clear();
    m_caps = {};
    m_attributes = {};
    // A transfer still running on another thread holds its own reference; the interface is
    // released when the last one lets go.
    return released != nullptr;
}

bool HidDevice::IsOpen() const {
    std::lock_guard lock(m_connectionMutex);
    return m_connection != nullptr;
}

bool HidDevice::SelectCollection(std::uint16_t usagePage, std::uint16_t usage) {
    if (!m_descriptor) {
        return false;
    }
    for (const HidCollectionInfo& collection : m_descriptor->TopLevelCollections()) {
        if (collection.usagePage == usagePage && collection.usage == usage) {
            m_caps.usagePage = usagePage;
            m_caps.usage = usage;
            std::lock_guard lock(m_connectionMutex);
            m_acceptedReportIds = collection.reportIds;
            if (m_usesReportIds) {
                m_inputReportIds = collection.inputReportIds;
            }
            return true;
        }
    }
    return false;
}

std::vector<std::uint8_t> HidDevice::InputReportIds() const {
    std::lock_guard lock(m_connectionMutex);
    return m_inputReportIds;
}

void HidDevice::Cancel() {
    m_cancel.store(true);
}

bool HidDevice::WriteReport(const std::uint8_t* buffer, std::size_t length, std::size_t* count,
                            int timeoutMs) {
    return Transfer(false, const_cast<std::uint8_t*>(buffer), length, count, timeoutMs);
}

bool HidDevice::ReadReport(std::uint8_t* buffer, std::size_t length, std::size_t* count,
                           int timeoutMs) {
    return Transfer(true, buffer, length, count, timeoutMs);
}

bool HidDevice::Transfer(bool isRead, std::uint8_t* buffer, std::size_t length, std::size_t* count,
                         int timeoutMs) {
    if (count != nullptr) {
        *count = 0;
    }
    Snapshot open;
    {
        std::lock_guard lock(m_connectionMutex);
        open = Snapshot{m_connection, m_acceptedReportIds, m_usesReportIds};
    }
    if (!open.connection) {
        return false;
    }
    // Reports of an interface without report ids arrive bare; the rest of the program sees them
    // as the HID class does, behind a report id byte of 0.
    const bool prefixId = isRead && !open.usesReportIds;
    if (prefixId && length == 0) {
        return false;
    }
    PendingFlag pending(isRead ? m_readPending : m_writePending);
    const bool forever = timeoutMs == kInfinite;
    const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    for (;;) {
        if (m_cancel.exchange(false)) {
            return false;
        }
        int slice = isRead ? kSliceMs : timeoutMs;
        if (isRead && !forever) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            slice = static_cast<int>(std::clamp<long>(left.count(), 0, kSliceMs));
        }
        std::size_t moved = 0;
        const TransferResult result =
            isRead ? open.connection->Read(buffer + (prefixId ? 1 : 0), length - (prefixId ? 1 : 0),
                                           moved, slice)
                   : open.connection->Write(buffer, length, moved, slice);
        if (result == TransferResult::Done && prefixId) {
            buffer[0] = 0;
            ++moved;
        }
        if (result == TransferResult::Failed) {
            return false;
        }
        if (result == TransferResult::Done) {
            const bool wanted = !isRead || open.acceptedReportIds.empty() ||
                                (moved > 0 && std::find(open.acceptedReportIds.begin(),
                                                        open.acceptedReportIds.end(),
                                                        buffer[0]) != open.acceptedReportIds.end());
            if (wanted) {
                if (count != nullptr) {
                    *count = moved;
                }
                return true;
            }
        }
        if (!isRead || (!forever && Clock::now() >= deadline)) {
            return false;
        }
    }
}

void HidDevice::BuildItems() {
    m_items.clear();
    const auto& fields = m_descriptor->InputFields();
    // Button items first, in descriptor order, then one value item per usage of each value field.
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const HidField& field = fields[i];
        if (field.isConstant || !field.isButton) {
            continue;
        }
        HidDataItem item;
        item.isButton = true;
        item.usagePage = field.usagePage;
        item.reportId = field.reportId;
        item.usageMin = field.usages.empty() ? field.usageMin : field.usages.front();
        item.usageMax = field.usages.empty() ? field.usageMax : field.usages.back();
        item.usageList.assign(field.reportCount, 0);
        item.field = i;
        m_items.push_back(std::move(item));
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const HidField& field = fields[i];
        if (field.isConstant || field.isButton) {
            continue;
        }
        // A range yields one item per usage, but never more than the field has elements.
        std::vector<std::uint32_t> usages = field.usages;
        if (usages.empty()) {
            for (std::uint32_t u = field.usageMin;
                 u <= field.usageMax && usages.size() < field.reportCount; ++u) {
                usages.push_back(u);
            }
        }
        for (const std::uint32_t usage : usages) {
            HidDataItem item;
            item.usagePage = field.usagePage;
            item.reportId = field.reportId;
            item.usage = static_cast<std::uint16_t>(usage);
            item.field = i;
            m_items.push_back(std::move(item));
        }
    }
}

bool HidDevice::UnpackInput(std::span<const std::uint8_t> report) {
    if (report.empty() || !m_descriptor) {
        return false;
    }
    const std::uint8_t reportId = report[0];
    const auto& fields = m_descriptor->InputFields();
    for (HidDataItem& item : m_items) {
        if (item.reportId != reportId) {
            continue;
        }
        const HidField& field = fields[item.field];
        if (item.isButton) {
            const auto usages = m_descriptor->GetUsages(report, field);
            item.status = usages.has_value();
            std::size_t kept = 0;
            if (usages) {
                for (const std::uint32_t usage : *usages) {
                    if (usage >= item.usageMin && usage <= item.usageMax &&
                        kept < item.usageList.size()) {
                        item.usageList[kept++] = static_cast<std::uint16_t>(usage);
                    }
                }
            }
            if (kept < item.usageList.size()) {
                item.usageList[kept] = 0;
            }
        } else {
            const auto raw = m_descriptor->GetUsageValue(report, field, item.usage);
            item.status = raw.has_value();
            if (!raw) {
                return false;
            }
            item.rawValue = *raw;
            const auto scaled = m_descriptor->GetScaledUsageValue(report, field, item.usage);
            item.status = scaled.has_value();
            if (scaled) {
                item.scaledValue = *scaled;
            }
        }
        item.isSet = true;
    }
    return true;
}

bool PathMatchesKeyboard(std::string_view path) {
    const auto vendor = static_cast<std::uint16_t>(HexAfter(path, "vid_"));
    const auto product = static_cast<std::uint16_t>(HexAfter(path, "pid_"));
    return vendor == kKeyboardVendorId &&
           (product == kKeyboardProductId || product == kKeyboardProductIdAlt);
}

bool CollectionMatches(HidDevice& device, std::uint16_t usagePage, std::uint16_t usage) {
    const HidAttributes& attributes = device.Attributes();
    if (attributes.vendorId != kKeyboardVendorId ||
        (attributes.productId != kKeyboardProductId &&
         attributes.productId != kKeyboardProductIdAlt)) {
        return false;
    }
    return device.SelectCollection(usagePage, usage);
}

bool OpenNextKeyboardCollection(HidDevice& device, std::uint16_t usagePage, std::uint16_t usage,
                                bool forWrite) {
    while (const std::string* path = device.NextPath()) {
        if (!PathMatchesKeyboard(*path) || !device.Open(*path, true, forWrite, true, false)) {
            continue;
        }
        if (CollectionMatches(device, usagePage, usage)) {
            return true;
        }
        device.Close();
    }
    return false;
}

}  // namespace korvel
