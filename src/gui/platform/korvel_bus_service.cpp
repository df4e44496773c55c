#include "gui/platform/korvel_bus_service.h"

#include <QDBusMessage>
#include <QtDebug>

namespace korvel {

KorvelBusService::KorvelBusService(BusRequests requests, QObject* parent)
    : QObject(parent), m_requests(std::move(requests)) {}

bool KorvelBusService::Register(QDBusConnection bus) {
    if (!bus.isConnected()) {
        qWarning("korvel: no session bus, so no D-Bus service");
        return false;
    }
    if (!bus.registerObject(kObjectPath, this,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)) {
        qWarning("korvel: the D-Bus object could not be offered");
        return false;
    }
    if (!bus.registerService(kServiceName)) {
        qWarning("korvel: another program holds the D-Bus name %s", kServiceName);
        bus.unregisterObject(kObjectPath);
        return false;
    }
    return true;
}

int KorvelBusService::ActiveProfile() {
    const std::optional<int> profile =
        m_requests.activeProfile ? m_requests.activeProfile() : std::nullopt;
    if (!profile) {
        Refuse("the keyboard's active profile is not known (is the keyboard there?)");
        return 0;
    }
    return *profile;
}

void KorvelBusService::SetActiveProfile(int profile) {
    if (profile < 1 || profile > 3) {
        Refuse(
            QString("there is no profile %1: the keyboard has profiles 1, 2 and 3").arg(profile));
        return;
    }
    if (const QString error = m_requests.setActiveProfile(profile); !error.isEmpty()) {
        Refuse(error);
    }
}

void KorvelBusService::SetBrightness(int brightness) {
    if (brightness < 0 || brightness > 5) {
        Refuse(QString("a brightness is 0..5, not %1").arg(brightness));
        return;
    }
    if (const QString error = m_requests.setBrightness(brightness); !error.isEmpty()) {
        Refuse(error);
    }
}

void KorvelBusService::RestoreBrightness() {
    m_requests.restoreBrightness();
}

void KorvelBusService::SetActiveProgram(const QString& program) {
    if (m_requests.setActiveProgram) {
        m_requests.setActiveProgram(program);
    }
}

void KorvelBusService::Refuse(const QString& text) {
    if (calledFromDBus()) {
        sendErrorReply("org.korvel.Korvel1.Error.Refused", text);
    }
}

}  // namespace korvel
