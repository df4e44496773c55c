#pragma once

#include <QObject>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string_view>

#include "model/files/backup_operations.h"

class QLabel;

namespace korvel {

class WindowParts;
struct DownloadPlan;

// Apply, import, export and restore defaults of the main window, and the modified state of the
// staged key assignments. A download is staged and planned on the window's thread and sent as a
// job of the keyboard service; the skin's progress area moves while the keyboard is busy and
// fills as a download goes.
class ApplyController : public QObject {
    Q_OBJECT

public:
    ApplyController(WindowParts& parts, QLabel* progress, QObject* parent);

    void SetModified(bool modified);
    bool IsModified() const { return m_modified; }
    bool Applying() const { return m_applying; }

    // Saves the working file and downloads the edited configuration when something was modified,
    // with the progress picture running meanwhile; applyFinished tells the outcome.
    void Apply();
    // Apply, and handles events until it has ended (a profile switch that saves first).
    void ApplyAndWait();
    // The menu's Import: loads a profile file, saves the working file, keeps a backup of the
    // keyboard (named after `operation`) and downloads all three profiles as a job. False when the
    // file was refused at once; importFinished tells the rest.
    bool Import(const std::filesystem::path& file,
                std::string_view operation = kBackupBeforeImport);
    // The menu's Export: EditingConfig to `file`, ".kvp" added when it has no extension. False
    // when the file could not be written.
    bool Export(const std::filesystem::path& file);
    // Asks, keeps a backup of the keyboard, then clears the active profile's keys (and the
    // lighting while the panel is on) and downloads at once; a failed download is reported.
    void RestoreDefaults();
    // EditingConfig from the working file, whatever it held.
    void LoadWorkingFile();

    // The keyboard service started or finished a job, or reported a download's progress.
    void OnKeyboardBusy(bool busy);
    void ShowProgress(int done, int planned);
    // The window closes: the progress area stops.
    void Stop();

signals:
    void modifiedChanged(bool modified);
    void applyFinished(bool applied);
    void importFinished(bool applied);
    // The active profile's defaults were staged (and are being sent).
    void defaultsRestored();

private:
    // Sends a download plan as a job; `done` hears whether the keyboard took it.
    void SendPlan(DownloadPlan plan, std::function<void(bool)> done);
    void FinishApply(bool applied);
    // The defaults of the active profile's keys (and lighting), downloaded at once.
    void ClearActiveProfile();
    // Reads back the lighting just written; offers to send it again when the keyboard holds
    // something else.
    void CheckLightingWritten();
    void StepProgress();
    // Frame 0..9 of the progress picture.
    void ShowProgressFrame(int frame);

    WindowParts& m_parts;
    QLabel* m_progress;
    bool m_modified = false;
    bool m_applying = false;
    QTimer m_progressTimer;  // steps the progress picture
    QTimer m_busyTimer;      // shows the progress area once a job takes long
    int m_progressFrame = 0;
};

}  // namespace korvel
