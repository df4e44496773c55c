#pragma once

#include <QString>
#include <QUrl>

namespace korvel {

// Starting outside programs and opening documents, so that tests see what would be started
// instead of starting it. Results tell whether the platform accepted the request; no caller shows
// them to the user.
class ShellLauncher {
public:
    virtual ~ShellLauncher() = default;

    // Opens a file or address with the program the desktop associates with it.
    virtual bool OpenUrl(const QUrl& url) = 0;
    // Starts a program on its own; it outlives this one.
    virtual bool StartProgram(const QString& program, const QString& workingDirectory) = 0;
};

}  // namespace korvel
