#include "gui/platform/running_programs.h"

#include <QDir>
#include <QFileInfo>

#include <set>

namespace korvel {

QStringList RunningPrograms() {
    std::set<QString> names;
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        entry.toUInt(&number);
        if (!number) {
            continue;
        }
        // Only the user's own processes say where their executable is.
        const QString exe =
            QFileInfo(proc.filePath(entry + QStringLiteral("/exe"))).symLinkTarget();
        // A program whose file is gone, or code in anonymous memory, has no name to give a rule.
        if (!exe.isEmpty() && !exe.endsWith(QStringLiteral(" (deleted)")) &&
            !exe.startsWith(QStringLiteral("/memfd:"))) {
            names.insert(QFileInfo(exe).fileName());
        }
    }
    return QStringList(names.begin(), names.end());
}

}  // namespace korvel
