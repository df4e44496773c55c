#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <map>
#include <optional>

#include "sync/lighting_sleep.h"

class QMenu;

namespace korvel {

class ApplyController;
class EditorLauncher;
class KorvelBusService;
class ProfileSwitcher;
class SessionWatcher;
class WindowParts;

// What the desktop does with the keyboard without opening the window: switching the onboard
// profile and turning the lighting down, asked over D-Bus or from the tray's menu, and the
// lighting turned down on its own while the screen is locked or the computer sleeps, when the
// user chose so in the window's menu (off by default).
//
// Every change is a job of the keyboard service. The lighting is turned down once, whoever asks
// first, and put back exactly as it was (its whole record) when nobody wants it down any more.
class DesktopRemote : public QObject {
    Q_OBJECT

public:
    // Who wants the lighting down.
    enum class Dimmer { Away, Bus, Tray };

    DesktopRemote(WindowParts& parts, ProfileSwitcher& switcher, ApplyController& applier,
                  const EditorLauncher& editors, QObject* parent);
    ~DesktopRemote() override;

    // Offers the D-Bus service on `session` and follows the screen saver there and logind on
    // `system`. Either may be a connection that is not connected.
    void Start(QDBusConnection session, QDBusConnection system);

    // The keyboard's active profile, 1..3; none while unknown.
    std::optional<int> ActiveProfile() const;
    // Makes profile 1..3 active; why not, when it cannot be done now (an editor is open, edits
    // are not applied, no keyboard), else empty.
    QString SwitchProfile(int profile);

    void Dim(Dimmer who, int brightness);
    void Undim(Dimmer who);
    bool Dimmed(Dimmer who) const { return m_dims.count(who) != 0; }
    // Whether the keyboard's lighting is down now (the jobs have ended).
    bool LightingDown() const { return m_dimmed.has_value(); }

    // The choice for a locked screen and sleep: none (the lighting stays as it is), 0 off, or
    // 1..4; kept in the settings.
    std::optional<int> AwayBrightness() const;
    void SetAwayBrightness(std::optional<int> brightness);
    // "When the screen locks or the computer sleeps" with its choices, into the window's menu.
    void AddAwayMenu(QMenu& menu);

signals:
    // The keyboard's active profile changed (1..3).
    void activeProfileChanged(int profile);
    // The lighting went down or came back.
    void lightingChanged(bool down);
    // A compositor's script said which program is in front.
    void programActivated(const QString& program);

private:
    void OnProfileShown(int profile);
    void OnResting(bool resting);
    // Sends what the wishes call for: the lowest brightness asked for, or the lighting back.
    void Settle();

    WindowParts& m_parts;
    ProfileSwitcher& m_switcher;
    ApplyController& m_applier;
    const EditorLauncher& m_editors;
    KorvelBusService* m_service = nullptr;
    SessionWatcher* m_watcher = nullptr;
    int m_shownProfile = -1;

    std::map<Dimmer, int> m_dims;            // who wants it down, to which brightness
    std::optional<DimmedLighting> m_dimmed;  // what to put back, while it is down
    int m_sentBrightness = -1;
    bool m_jobRunning = false;
};

}  // namespace korvel
