#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace korvel {

// What the desktop may ask of the program over D-Bus; the main window answers.
struct BusRequests {
    // The keyboard's active onboard profile, 1..3; none while unknown.
    std::function<std::optional<int>()> activeProfile;
    // Makes profile 1..3 active; an error text when that cannot be done now.
    std::function<QString(int profile)> setActiveProfile;
    // Turns the lighting down to 0..5 (0: off) until RestoreBrightness; an error text or empty.
    std::function<QString(int brightness)> setBrightness;
    std::function<void()> restoreBrightness;
    // The program in front, for the per-application profiles (from a compositor's script).
    std::function<void(const QString& program)> setActiveProgram;
};

// The program's service on the user's session bus, "org.korvel.Korvel1" at /org/korvel/Korvel1
// (share/dbus-1/interfaces/org.korvel.Korvel1.xml describes it): a desktop shortcut or a script
// reads and sets the active profile, dims and restores the lighting, and hears when the profile
// changes.
//
// Threads: the GUI thread.
class KorvelBusService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.korvel.Korvel1")

public:
    static constexpr const char* kServiceName = "org.korvel.Korvel1";
    static constexpr const char* kObjectPath = "/org/korvel/Korvel1";

    explicit KorvelBusService(BusRequests requests, QObject* parent = nullptr);

    // Takes the name and offers the object on `bus`; false (after a warning) when the bus is not
    // there or another program holds the name.
    bool Register(QDBusConnection bus);

public slots:
    int ActiveProfile();
    void SetActiveProfile(int profile);
    void SetBrightness(int brightness);
    void RestoreBrightness();
    void SetActiveProgram(const QString& program);

signals:
    // The keyboard's active profile changed (1..3).
    void ActiveProfileChanged(int profile);

private:
    // Refuses the call that is being answered with `text` (as org.korvel.Korvel1.Error.Refused).
    void Refuse(const QString& text);

    BusRequests m_requests;
};

}  // namespace korvel
