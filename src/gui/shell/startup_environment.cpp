#include "gui/shell/startup_environment.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

#include "gui/shell/command_line.h"

namespace korvel {
namespace {

std::filesystem::path FsPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

}  // namespace

void SetSettingsRoot() {
    QCoreApplication::setOrganizationName(QLatin1String(kSettingsOrganisation));
    QCoreApplication::setApplicationName(
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
}

std::vector<std::string> ArgumentsAfterProgram(const QStringList& arguments) {
    std::vector<std::string> args;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        args.push_back(arguments[i].toStdString());
    }
    return args;
}

DocumentsFolder StartDocumentsFolder(const StartOptions& options) {
    DocumentsFolder found = FindDocumentsFolder(options.documents);
    if (!found.path.empty()) {
        found.path = std::filesystem::absolute(found.path);
    }
    return found;
}

AppPaths MakeAppPaths(const std::filesystem::path& documents) {
    return AppPaths(FsPath(QCoreApplication::applicationDirPath()), documents);
}

}  // namespace korvel
