#include "gui/mainwnd/arrival_reload.h"

#include <QLabel>
#include <optional>

#include "gui/mainwnd/apply_controller.h"
#include "gui/mainwnd/keyboard_jobs.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/mainwnd/profile_switcher.h"
#include "gui/mainwnd/window_parts.h"
#include "gui/widgets/png_button.h"
#include "model/files/profile_locations.h"
#include "sync/device_backup.h"
#include "sync/keyboard_service.h"

namespace korvel {

ArrivalReload::ArrivalReload(WindowParts& parts, ApplyController& applier,
                             ProfileSwitcher& switcher, QObject* parent)
    : QObject(parent), m_parts(parts), m_applier(applier), m_switcher(switcher) {}

void ArrivalReload::ShowReading(bool reading) {
    if (reading == m_reading) {
        return;
    }
    m_reading = reading;
    if (m_readingLabel == nullptr) {
        // Beside the lighting panel's title, in its look but dimmer.
        const QWidget* title = m_parts.lighting.Control(kPanelLabel);
        m_readingLabel = new QLabel(&m_parts.window);
        m_readingLabel->setFont(title->font());
        m_readingLabel->setStyleSheet(QStringLiteral("color: #8A9099; background: transparent;"));
        m_readingLabel->setGeometry(title->geometry().translated(title->width() + 16, 0));
        m_readingLabel->resize(420, title->height());
    }
    m_readingLabel->setText(QString::fromStdU16String(m_parts.Caption("MAIN_READING")));
    m_readingLabel->setVisible(reading);
    if (reading) {
        // What would change or send the setup before it is known waits; keys stay as they are
        // drawn (their faces follow the flip layer), only their clicks are held back.
        for (int id : {kControlApply, kControlOk, kRestoreDefaults, kProfileButton1,
                       kProfileButton2, kProfileButton3, kControlSceneMode, kControlMacro,
                       kReportRate1, kReportRate2, kReportRate3, kReportRate4}) {
            QWidget* control = m_parts.Control(id);
            if (control != nullptr && control->isEnabled()) {
                control->setEnabled(false);
                m_disabledWhileReading.push_back(control);
            }
        }
        return;
    }
    for (QWidget* control : m_disabledWhileReading) {
        control->setEnabled(true);
    }
    m_disabledWhileReading.clear();
    m_applier.SetModified(m_applier.IsModified());
}

void ArrivalReload::Reload() {
    // The window shows at once; what the keyboard holds follows when it has been read.
    ShowReading(true);
    using Backup = std::optional<std::vector<std::uint8_t>>;
    const KeyCodec* codec = &m_parts.services.keyCodec;
    m_parts.jobs.Submit<Backup>(
        "reload",
        [codec, texts = m_parts.TextsFor({"MACRO_NEW_PREFIX"})](JobContext& job) {
            // Reads the active profile (into the link's cache) along with the key tables.
            return ReadDeviceBackup(job.Link(), *codec, texts);
        },
        [this](JobResult<Backup> result) {
            if (m_parts.Closing()) {
                return;
            }
            ShowReading(false);
            if (result.end == JobEnd::Busy) {
                m_parts.ShowKeyboardHeld(result.busyHolder);
            }
            const std::filesystem::path documents = m_parts.services.paths.DocumentsDirectory();
            FileWriteResult workingFileWrite;
            if (PlaceDeviceBackup(m_parts.services.store, result.value.value_or(std::nullopt),
                                  documents,
                                  &workingFileWrite) == ReloadOutcome::FromKeyboardUnsaved) {
                m_parts.ShowWriteFailure(WorkingFile(documents), workingFileWrite);
            }
            m_applier.SetModified(false);
            m_switcher.SyncProfileButtons();
            m_parts.RefreshKeys();
            m_switcher.BuildSceneMenu();
            emit reloaded();
        });
    m_parts.lighting.ReadAll();
}

void ArrivalReload::FollowHandedOver(const std::string& command,
                                     const std::filesystem::path& documents) {
    if (m_parts.Closing()) {
        return;
    }
    if (command == "profile") {
        m_switcher.ShowActiveProfile();
    } else if (command == "lighting") {
        m_parts.lighting.ReadAll();
    } else if (command == "restore") {
        // The keyboard holds another setup altogether. Unsaved edits stay, as after an import,
        // over the lighting and profile it holds now; without them the window shows it all.
        if (m_applier.IsModified()) {
            m_switcher.ShowActiveProfile();
            m_parts.lighting.ReadAll();
        } else {
            Reload();
        }
    } else if ((command == "import" || command == "remap" || command == "reset" ||
                command == "macro") &&
               !m_applier.IsModified()) {
        // Unsaved edits stay as they are; otherwise the window shows what was imported: the
        // working file the import wrote when it shares the window's, else the keyboard itself.
        const std::filesystem::path own = m_parts.services.paths.DocumentsDirectory();
        std::error_code ignored;
        if (!documents.empty() && std::filesystem::equivalent(documents, own, ignored)) {
            m_applier.LoadWorkingFile();
            m_applier.SetModified(false);
            m_parts.RefreshKeys();
            emit reloaded();
        } else {
            Reload();
        }
    }
}

}  // namespace korvel
