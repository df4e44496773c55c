#pragma once

#include <QObject>
#include <filesystem>

class QWidget;

namespace korvel {

class WindowParts;

// The menu's "Restore a backup…": a list of the automatic backups (newest first, with the time
// and what they were taken before) or any backup file, then, once the user agrees, the keyboard
// backed up itself and the chosen backup restored and read back as jobs.
class BackupRestorer : public QObject {
    Q_OBJECT

public:
    BackupRestorer(WindowParts& parts, QObject* parent);

    // Shows the list; restores what is chosen.
    void Choose();
    // Asks, then restores `file`. A file that is no backup this program can restore is said and
    // changes nothing.
    void Restore(const std::filesystem::path& file);

signals:
    // The keyboard was written (whether or not it then held the backup): what it holds now is to
    // be read again.
    void restored(bool held);

private:
    WindowParts& m_parts;
};

}  // namespace korvel
