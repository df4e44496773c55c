#pragma once

#include "gui/platform/shell_launcher.h"

namespace korvel {

// The real thing: the desktop's "open" and detached processes.
class DesktopShellLauncher : public ShellLauncher {
public:
    bool OpenUrl(const QUrl& url) override;
    bool StartProgram(const QString& program, const QString& workingDirectory) override;
};

}  // namespace korvel
