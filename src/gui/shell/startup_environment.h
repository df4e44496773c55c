#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

#include "app/documents_folder.h"
#include "text/app_paths.h"

namespace korvel {

struct StartOptions;

// The settings store's root: QSettings() then means organisation "Korvel_Tolvane" and application
// = the executable's base name (the registry on Windows, ~/.config/Korvel_Tolvane/ elsewhere).
inline constexpr const char* kSettingsOrganisation = "Korvel_Tolvane";
void SetSettingsRoot();

// The arguments after the program name, as the command line reader takes them.
std::vector<std::string> ArgumentsAfterProgram(const QStringList& arguments);

// --documents when given (made absolute), else the desktop's Documents folder, as both programs
// find it; an empty path and the reason when there is none to use.
DocumentsFolder StartDocumentsFolder(const StartOptions& options);

// Every path of the program, from the folder of the running executable and the Documents folder.
AppPaths MakeAppPaths(const std::filesystem::path& documents);

}  // namespace korvel
