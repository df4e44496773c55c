#include "gui/platform/desktop_shell_launcher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>

namespace korvel {

bool DesktopShellLauncher::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool DesktopShellLauncher::StartProgram(const QString& program, const QString& workingDirectory) {
    return QProcess::startDetached(program, QStringList(), workingDirectory);
}

}  // namespace korvel
