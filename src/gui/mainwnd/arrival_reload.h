#pragma once

#include <QObject>
#include <filesystem>
#include <string>
#include <vector>

class QLabel;
class QWidget;

namespace korvel {

class ApplyController;
class ProfileSwitcher;
class WindowParts;

// What the keyboard holds, shown in the window: read after the keyboard's arrival (the window
// shows at once and says it is reading, with what would act on the setup held back meanwhile),
// and after korvelctl changed the keyboard through this program.
class ArrivalReload : public QObject {
    Q_OBJECT

public:
    ArrivalReload(WindowParts& parts, ApplyController& applier, ProfileSwitcher& switcher,
                  QObject* parent);

    // Reads the keyboard's setup and lighting as jobs; the window shows them when they come back.
    void Reload();
    // The arrival's reload has not been shown yet.
    bool Reading() const { return m_reading; }
    // korvelctl changed the keyboard through this program (`command`: its first word): the window
    // shows the change as its own controls would have. `documents`: where the command kept its
    // working file.
    void FollowHandedOver(const std::string& command, const std::filesystem::path& documents);

signals:
    // A reload from the keyboard (its arrival, a command of korvelctl) is shown.
    void reloaded();

private:
    void ShowReading(bool reading);

    WindowParts& m_parts;
    ApplyController& m_applier;
    ProfileSwitcher& m_switcher;
    bool m_reading = false;
    QLabel* m_readingLabel = nullptr;
    std::vector<QWidget*> m_disabledWhileReading;
};

}  // namespace korvel
