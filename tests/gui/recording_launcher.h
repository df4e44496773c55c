#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include "gui/platform/shell_launcher.h"

namespace korvel::fixtures {

// Remembers what would have been opened or started; nothing outside the test runs.
class RecordingLauncher : public ShellLauncher {
public:
    bool OpenUrl(const QUrl& url) override {
        opened.append(url);
        return true;
    }
    bool StartProgram(const QString& program, const QString& workingDirectory) override {
        started.append(program);
        workingDirectories.append(workingDirectory);
        return true;
    }

    QList<QUrl> opened;
    QList<QString> started;
    QList<QString> workingDirectories;
};

}  // namespace korvel::fixtures
