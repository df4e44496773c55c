#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <filesystem>
#include <optional>

namespace korvel {

class ApplyController;
class ArrivalReload;
class EditorLauncher;
class ProfileSwitcher;
class WindowParts;

// The keyboard follows the program in front: the rules ("program → onboard profile", and the
// profile for every other program) say which profile, and the switch is a job of the keyboard
// service. It switches only when the profile differs, at most once per 300 ms (a burst of
// activations ends on the last one's profile), and never while an editor is open, edits are not
// applied or another job runs: then once that is over. Without rules nothing happens.
class ProgramProfiles : public QObject {
    Q_OBJECT

public:
    static constexpr int kQuietMs = 300;

    // `rulesFile`: where the rules are kept; read again whenever another program comes to the
    // front, so that a change made by korvelctl applies at the next one.
    ProgramProfiles(WindowParts& parts, ProfileSwitcher& switcher, ApplyController& applier,
                    const EditorLauncher& editors, const ArrivalReload& reload,
                    std::filesystem::path rulesFile, QObject* parent);

    // Another program came to the front (its window class and executable name).
    void ProgramActivated(const QString& windowClass, const QString& executable);

    // Switches made since the start.
    int Switches() const { return m_switches; }

private:
    void TrySwitch();
    bool Blocked() const;

    WindowParts& m_parts;
    ProfileSwitcher& m_switcher;
    ApplyController& m_applier;
    const EditorLauncher& m_editors;
    const ArrivalReload& m_reload;
    std::filesystem::path m_rulesFile;
    std::optional<int> m_wanted;  // 0..2, until the keyboard has it
    QElapsedTimer m_sinceSwitch;
    QTimer m_retry;
    int m_switches = 0;
    std::string m_warned;  // the warnings of the rules' file, said once
};

}  // namespace korvel
