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

QString DocumentsFolder(const StartOptions& options) {
    if (!options.documents.empty()) {
        return QFileInfo(QString::fromStdString(options.documents)).absoluteFilePath();
    }
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

AppPaths MakeAppPaths(const StartOptions& options) {
    return AppPaths(FsPath(QCoreApplication::applicationDirPath()),
                    FsPath(DocumentsFolder(options)));
}

}  // namespace korvel
