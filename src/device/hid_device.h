#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/hid_backend.h"
#include "device/hid_report_descriptor.h"
#include "device/report_channel.h"

namespace korvel {

// What the interface's descriptor says about it: its (first or selected) top-level collection
// and the longest reports.
struct HidCaps {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::size_t inputReportByteLength = 0;
    std::size_t outputReportByteLength = 0;
};

// One decoded element of an input report: a button item lists the usages that are on, a value
// item holds the value of one usage.
struct HidDataItem {
    bool isButton = false;
    std::uint16_t usagePage = 0;
    bool status = true;  // whether the last decode of this item succeeded
    std::uint8_t reportId = 0;
    bool isSet = false;  // a report with this id has been decoded into the item
    // Button part.
    std::uint32_t usageMin = 0;
    std::uint32_t usageMax = 0;
    std::vector<std::uint16_t> usageList;  // on usages first, then 0 when fewer than its length
    // Value part.
    std::uint16_t usage = 0;
    std::uint32_t rawValue = 0;
    std::int32_t scaledValue = 0;
    // Which field of the descriptor the item decodes.
    std::size_t field = 0;
};

// The longest device path the program keeps; a longer one is refused before opening.
inline constexpr std::size_t kMaxDevicePath = 259;

// One HID interface, opened through a backend: the paths present, the open interface with its
// identity and capabilities, transfers with a time-out and a cancel signal, and the decoding of
// input reports. The program has two: the command channel and the event listener's.
//
// Threads: Enumerate/NextPath/ReleasePaths/Open/Close/UnpackInput belong to one owning thread.
// ReadReport and WriteReport may run on other threads at the same time as the owner closes or
// reopens the device: Close and Open wake a waiting transfer through the cancel signal, and the
// interface is released only when that transfer has returned.
class HidDevice : public ReportChannel {
public:
    explicit HidDevice(HidBackend& backend);
    ~HidDevice() override;

    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;

    // Rebuilds the list of present interface paths and starts NextPath from the first.
    bool Enumerate();
    // The path at the cursor, advancing it; null after the last or when there is no list.
    const std::string* NextPath();
    void ReleasePaths();
    std::size_t PathCount() const { return m_paths.size(); }

    // Closes what was open, then opens `path`. Fails for a path longer than kMaxDevicePath, an
    // interface that cannot be opened, or one whose descriptor cannot be parsed.
    bool Open(const std::string& path, bool forRead, bool forWrite, bool overlapped,
              bool exclusive);
    // Wakes a waiting transfer, releases the interface. False when nothing was open.
    bool Close();
    bool IsOpen() const;

    const std::string& DevicePath() const { return m_devicePath; }
    const HidAttributes& Attributes() const { return m_attributes; }
    const HidCaps& Capabilities() const { return m_caps; }

    // Whether the open interface holds a top-level collection of this usage page and usage. When
    // it does, later reads deliver only that collection's reports: a hidraw node carries every
    // report of its USB interface, whatever collection it belongs to.
    bool SelectCollection(std::uint16_t usagePage, std::uint16_t usage);

    // One transfer; the return rule of ReportChannel. A read that is cancelled, times out or
    // finds the interface gone returns false with a count of 0. A read waits in short slices so
    // that it sees the cancel signal; a write is handed to the backend whole, with its time-out,
    // since a report cannot be half sent and sent again.
    bool WriteReport(const std::uint8_t* buffer, std::size_t length, std::size_t* count,
                     int timeoutMs) override;
    bool ReadReport(std::uint8_t* buffer, std::size_t length, std::size_t* count,
                    int timeoutMs) override;

    // The input report ids of the selected collection, else of the whole interface; {0} for an
    // interface without report ids, nothing while closed.
    std::vector<std::uint8_t> InputReportIds() const override;

    // The cancel signal: wakes exactly one waiting transfer; when none waits, the next transfer
    // to wait sees it at once and fails.
    void Cancel();

    // Decodes an input report into the data items whose report id it carries.
    bool UnpackInput(std::span<const std::uint8_t> report);
    const std::vector<HidDataItem>& InputItems() const { return m_items; }

private:
    bool Transfer(bool isRead, std::uint8_t* buffer, std::size_t length, std::size_t* count,
                  int timeoutMs);
    bool WantedReport(std::span<const std::uint8_t> report) const;
    void BuildItems();
    void ReleaseConnection();

    HidBackend& m_backend;
    std::vector<std::string> m_paths;
    std::size_t m_cursor = 0;

    mutable std::mutex m_connectionMutex;
    std::shared_ptr<HidConnection> m_connection;
    std::string m_devicePath;
    bool m_forRead = false;
    bool m_forWrite = false;
    bool m_overlapped = false;
    bool m_exclusive = false;
    HidAttributes m_attributes;
    HidCaps m_caps;
    std::optional<HidReportDescriptor> m_descriptor;
    std::vector<std::uint8_t> m_acceptedReportIds;  // empty: every report
    std::vector<std::uint8_t> m_inputReportIds;
    bool m_usesReportIds = true;
    std::vector<HidDataItem> m_items;

    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_readPending{false};
    std::atomic<bool> m_writePending{false};
};

// Whether a path names the keyboard: "vid_" followed by hex digits worth 0x0C45 and "pid_"
// followed by hex digits worth 0x5304 or 0x5004, in any case. A missing marker counts as 0; only
// the low 16 bits of the digits count.
bool PathMatchesKeyboard(std::string_view path);

// Whether the open device is the keyboard (vendor and product) and holds the collection; selects
// that collection's reports for reading.
bool CollectionMatches(HidDevice& device, std::uint16_t usagePage, std::uint16_t usage);

// Walks the rest of the enumerated paths and leaves the device open on the first interface that
// names the keyboard, opens (for reading, and for writing when asked) and holds the collection;
// interfaces that do not are closed again. False when none is left.
bool OpenNextKeyboardCollection(HidDevice& device, std::uint16_t usagePage, std::uint16_t usage,
                                bool forWrite);

}  // namespace korvel
