#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

#include "text/app_paths.h"

namespace korvel {

struct StartOptions;

// The settings store's root: QSettings() then means organisation "Korvel_Tolvane" and application
// = the executable's base name (the registry on Windows, ~/.config/Korvel_Tolvane/ elsewhere).
inline constexpr const char* kSettingsOrganisation = "Korvel_Tolvane";
void SetSettingsRoot();

// The arguments after the program name, as the command line reader takes them.
std::vector<std::string> ArgumentsAfterProgram(const QStringList& arguments);

// --documents when given, else the user's Documents folder.
QString DocumentsFolder(const StartOptions& options);

// Every path of the program, from the folder of the running executable.
AppPaths MakeAppPaths(const StartOptions& options);

}  // namespace korvel
