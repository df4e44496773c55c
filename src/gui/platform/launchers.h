#pragma once

#include <QString>

namespace korvel {

class AppPaths;
class ShellLauncher;

// Opens Help/index.html. A missing file is not reported, and nothing is asked of the desktop then,
// because some desktops answer a missing file with a message box of their own.
bool ShowHelp(ShellLauncher& launcher, const AppPaths& paths);

// Starts the companion program beside ours at every start of the copy that runs. Where it is
// missing (or, outside Windows, not executable) nothing happens and nothing is reported.
bool StartCompanionProgram(ShellLauncher& launcher, const AppPaths& paths);

// The main skin's link address as the window opens it: an address with a scheme as it is; a path
// as a file of the program's data folder (the default skin names "Help/index.html", the shipped
// user guide); no address at all as the user guide.
QString ResolveLinkAddress(const QString& address, const AppPaths& paths);

// Opens the link address of the main skin; an address without a scheme is a web address.
bool OpenLinkAddress(ShellLauncher& launcher, const QString& address);

}  // namespace korvel
