#include "gui/platform/launchers.h"

#include <QFileInfo>
#include <QUrl>

#include "gui/platform/shell_launcher.h"
#include "text/app_paths.h"

namespace korvel {
namespace {

QString QtPath(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

}  // namespace

bool ShowHelp(ShellLauncher& launcher, const AppPaths& paths) {
    const QString help = QtPath(paths.HelpFile());
    if (!QFileInfo(help).isFile()) {
        return false;
    }
    return launcher.OpenUrl(QUrl::fromLocalFile(help));
}

bool StartCompanionProgram(ShellLauncher& launcher, const AppPaths& paths) {
    const QFileInfo program(QtPath(paths.CompanionProgram()));
    if (!program.isFile() || !program.isExecutable()) {
        return false;
    }
    return launcher.StartProgram(program.absoluteFilePath(), QString());
}

QString ResolveLinkAddress(const QString& address, const AppPaths& paths) {
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty()) {
        return QUrl::fromLocalFile(QtPath(paths.HelpFile())).toString();
    }
    // "name:" with a name of two letters or more is a scheme; a drive letter or a plain path is
    // a file of the program's data folder.
    const QUrl url(trimmed);
    if (url.isValid() && url.scheme().size() > 1) {
        return trimmed;
    }
    if (QFileInfo(trimmed).isAbsolute()) {
        return QUrl::fromLocalFile(trimmed).toString();
    }
    return QUrl::fromLocalFile(QtPath(paths.DataDirectory() / trimmed.toStdU16String())).toString();
}

bool OpenLinkAddress(ShellLauncher& launcher, const QString& address) {
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty()) {
        return false;
    }
    const QUrl url = QUrl::fromUserInput(trimmed);
    if (!url.isValid()) {
        return false;
    }
    return launcher.OpenUrl(url);
}

}  // namespace korvel
