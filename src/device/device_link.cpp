#include "device/device_link.h"

#include <thread>
#include <utility>

namespace korvel {

DeviceLink::DeviceLink(LinkTimings timings) : m_timings(std::move(timings)) {}

void DeviceLink::Connect(ReportChannel& channel) {
    std::lock_guard lock(m_exchangeLock);
    m_channel = &channel;
    m_late = {};
    m_connected.store(true);
}

void DeviceLink::Disconnect() {
    m_connected.store(false);
    std::lock_guard lock(m_exchangeLock);
    m_channel = nullptr;
    m_activeProfileCache.store(-1);
}

bool DeviceLink::AdmitCaller() {
    const std::thread::id owner = m_owner.load();
    if (owner == std::thread::id() || owner == std::this_thread::get_id()) {
        return true;
    }
    ++m_foreignExchanges;
    return false;
}

void DeviceLink::Pause(std::chrono::milliseconds duration) const {
    if (m_timings.pause) {
        m_timings.pause(duration);
    } else {
        std::this_thread::sleep_for(duration);
    }
}

}  // namespace korvel
