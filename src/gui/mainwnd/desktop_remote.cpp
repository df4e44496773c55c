#include "gui/mainwnd/desktop_remote.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <algorithm>

#include "base/text_encoding.h"
#include "gui/mainwnd/apply_controller.h"
#include "gui/mainwnd/editor_launcher.h"
#include "gui/mainwnd/keyboard_jobs.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/profile_switcher.h"
#include "gui/mainwnd/window_parts.h"
#include "gui/platform/korvel_bus_service.h"
#include "gui/platform/session_watcher.h"
#include "ports/settings_store.h"

namespace korvel {
namespace {

constexpr std::string_view kSection = "Lighting";
constexpr std::string_view kAwayKey = "WhenAway";  // "off", "1".."4"; none: unchanged
constexpr int kAwayDimLevels = 4;

}  // namespace

DesktopRemote::DesktopRemote(WindowParts& parts, ProfileSwitcher& switcher,
                             ApplyController& applier, const EditorLauncher& editors,
                             QObject* parent)
    : QObject(parent),
      m_parts(parts),
      m_switcher(switcher),
      m_applier(applier),
      m_editors(editors) {
    connect(&m_switcher, &ProfileSwitcher::profileShown, this, &DesktopRemote::OnProfileShown);
}

DesktopRemote::~DesktopRemote() = default;

void DesktopRemote::Start(QDBusConnection session, QDBusConnection system) {
    BusRequests requests;
    requests.activeProfile = [this] { return ActiveProfile(); };
    requests.setActiveProfile = [this](int profile) { return SwitchProfile(profile); };
    requests.setBrightness = [this](int brightness) {
        Dim(Dimmer::Bus, brightness);
        return QString();
    };
    requests.restoreBrightness = [this] { Undim(Dimmer::Bus); };
    requests.setActiveProgram = [this](const QString& program) { emit programActivated(program); };
    m_service = new KorvelBusService(std::move(requests), this);
    connect(this, &DesktopRemote::activeProfileChanged, m_service,
            &KorvelBusService::ActiveProfileChanged);
    m_service->Register(session);
    m_watcher = new SessionWatcher(session, system, this);
    connect(m_watcher, &SessionWatcher::restingChanged, this, &DesktopRemote::OnResting);
}

std::optional<int> DesktopRemote::ActiveProfile() const {
    const int profile = m_parts.ActiveProfile();
    return profile >= 0 ? std::optional<int>(profile + 1) : std::nullopt;
}

QString DesktopRemote::SwitchProfile(int profile) {
    // Said to scripts, which read English.
    if (!ActiveProfile()) {
        return "the keyboard is not there";
    }
    if (m_editors.OpenEditors() > 0 || m_applier.IsModified()) {
        return "the window holds edits that are not applied yet";
    }
    if (*ActiveProfile() != profile) {
        m_switcher.SwitchProfile(profile - 1);
    }
    return {};
}

void DesktopRemote::OnProfileShown(int profile) {
    if (profile >= 0 && profile != m_shownProfile) {
        m_shownProfile = profile;
        emit activeProfileChanged(profile + 1);
    }
}

void DesktopRemote::Dim(Dimmer who, int brightness) {
    m_dims[who] = std::clamp(brightness, 0, 5);
    Settle();
}

void DesktopRemote::Undim(Dimmer who) {
    m_dims.erase(who);
    Settle();
}

void DesktopRemote::OnResting(bool resting) {
    const std::optional<int> away = AwayBrightness();
    if (resting && away) {
        Dim(Dimmer::Away, *away);
    } else {
        Undim(Dimmer::Away);
    }
}

void DesktopRemote::Settle() {
    if (m_jobRunning || m_parts.Closing()) {
        return;
    }
    const auto refresh = [this] {
        m_jobRunning = false;
        m_parts.lighting.ReadCurrent();
        Settle();
    };
    if (m_dims.empty()) {
        if (!m_dimmed) {
            return;
        }
        m_jobRunning = true;
        const DimmedLighting dimmed = *m_dimmed;
        m_parts.jobs.Submit<WakeOutcome>(
            "lighting back", [dimmed](JobContext& job) { return WakeLighting(job.Link(), dimmed); },
            [this, refresh](JobResult<WakeOutcome> result) {
                if (result.value != WakeOutcome::Restored) {
                    qWarning("korvel: the keyboard's lighting could not be put back as it was");
                }
                m_dimmed.reset();
                m_sentBrightness = -1;
                emit lightingChanged(false);
                refresh();
            });
        return;
    }
    const int brightness =
        std::min_element(m_dims.begin(), m_dims.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->second;
    if (m_dimmed && brightness == m_sentBrightness) {
        return;
    }
    m_jobRunning = true;
    m_parts.jobs.Submit<std::optional<DimmedLighting>>(
        "lighting down",
        [brightness](JobContext& job) { return DimLighting(job.Link(), brightness); },
        [this, brightness, refresh](JobResult<std::optional<DimmedLighting>> result) {
            if (result.value && *result.value) {
                // Only the first turn down says what the lighting was.
                if (!m_dimmed) {
                    m_dimmed = **result.value;
                    emit lightingChanged(true);
                }
                m_sentBrightness = brightness;
            } else {
                qWarning("korvel: the keyboard's lighting could not be turned down");
                m_dims.clear();
            }
            refresh();
        });
}

std::optional<int> DesktopRemote::AwayBrightness() const {
    const std::optional<std::u16string> value = m_parts.settings.ReadString(kSection, kAwayKey);
    if (!value) {
        return std::nullopt;
    }
    if (*value == u"off") {
        return 0;
    }
    if (value->size() == 1 && (*value)[0] >= u'1' && (*value)[0] < u'1' + kAwayDimLevels) {
        return (*value)[0] - u'0';
    }
    return std::nullopt;
}

void DesktopRemote::SetAwayBrightness(std::optional<int> brightness) {
    if (!brightness) {
        m_parts.settings.Remove(kSection, kAwayKey);
    } else {
        m_parts.settings.WriteString(
            kSection, kAwayKey,
            *brightness == 0 ? std::u16string(u"off") : Utf8ToUtf16(std::to_string(*brightness)));
    }
    // A choice made while the screen is locked (from a script) applies at once.
    if (m_watcher != nullptr) {
        OnResting(m_watcher->Resting());
    }
}

void DesktopRemote::AddAwayMenu(QMenu& menu) {
    const auto caption = [this](const char* key) {
        return QString::fromStdU16String(m_parts.Caption(key));
    };
    QMenu* away = menu.addMenu(caption("MENU_AWAY"));
    auto* group = new QActionGroup(away);
    const std::optional<int> chosen = AwayBrightness();
    const auto add = [&](const QString& text, std::optional<int> brightness) {
        QAction* action = away->addAction(text);
        action->setCheckable(true);
        action->setChecked(chosen == brightness);
        group->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, brightness] { SetAwayBrightness(brightness); });
    };
    add(caption("AWAY_UNCHANGED"), std::nullopt);
    add(caption("AWAY_OFF"), 0);
    for (int level = 1; level <= kAwayDimLevels; ++level) {
        add(caption("AWAY_DIM").arg(level), level);
    }
}

}  // namespace korvel
