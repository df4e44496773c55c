#include "gui/mainwnd/program_profiles.h"

#include <QtDebug>

#include "gui/mainwnd/apply_controller.h"
#include "gui/mainwnd/arrival_reload.h"
#include "gui/mainwnd/editor_launcher.h"
#include "gui/mainwnd/keyboard_jobs.h"
#include "gui/mainwnd/profile_switcher.h"
#include "gui/mainwnd/window_parts.h"
#include "model/files/program_rules.h"

namespace korvel {

ProgramProfiles::ProgramProfiles(WindowParts& parts, ProfileSwitcher& switcher,
                                 ApplyController& applier, const EditorLauncher& editors,
                                 const ArrivalReload& reload, std::filesystem::path rulesFile,
                                 QObject* parent)
    : QObject(parent),
      m_parts(parts),
      m_switcher(switcher),
      m_applier(applier),
      m_editors(editors),
      m_reload(reload),
      m_rulesFile(std::move(rulesFile)) {
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &ProgramProfiles::TrySwitch);
}

void ProgramProfiles::ProgramActivated(const QString& windowClass, const QString& executable) {
    std::vector<std::string> warnings;
    const ProgramRules rules = ReadProgramRules(m_rulesFile, &warnings);
    std::string said;
    for (const std::string& warning : warnings) {
        said += warning + "\n";
    }
    if (said != m_warned) {
        m_warned = said;
        for (const std::string& warning : warnings) {
            qWarning("korvel: %s", warning.c_str());
        }
    }
    const std::optional<int> profile =
        ProfileForProgram(rules, windowClass.toStdU16String(), executable.toStdU16String());
    if (!profile) {
        return;
    }
    m_wanted = profile;
    TrySwitch();
}

bool ProgramProfiles::Blocked() const {
    return m_editors.OpenEditors() > 0 || m_applier.IsModified() || m_applier.Applying() ||
           m_reload.Reading() || m_parts.jobs.InFlight() > 0;
}

void ProgramProfiles::TrySwitch() {
    if (!m_wanted || m_parts.Closing()) {
        return;
    }
    const int active = m_parts.ActiveProfile();
    if (active < 0) {
        return;  // no keyboard: the next program in front asks again
    }
    if (*m_wanted == active) {
        m_wanted.reset();
        return;
    }
    if (Blocked()) {
        m_retry.start(kQuietMs);
        return;
    }
    if (m_sinceSwitch.isValid() && m_sinceSwitch.elapsed() < kQuietMs) {
        m_retry.start(static_cast<int>(kQuietMs - m_sinceSwitch.elapsed()));
        return;
    }
    const int profile = *m_wanted;
    m_wanted.reset();
    m_sinceSwitch.start();
    ++m_switches;
    m_switcher.SwitchProfile(profile);
}

}  // namespace korvel
