#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace korvel {

// Reads an environment variable; null when it is not set. Tests hand in their own.
using EnvironmentLookup = std::function<const char*(const char* name)>;

struct DocumentsFolder {
    std::filesystem::path path;  // empty when there is none the programs may use
    std::string error;           // why, for a message
};

// The folder that stands for the user's Documents folder, below which the programs keep
// Korvel_09A. `given` (--documents) is taken as the user named it, relative to the current folder.
// Otherwise it is the desktop's documents folder as the XDG user directories name it: the
// variable XDG_DOCUMENTS_DIR, else the entry of that name in $XDG_CONFIG_HOME/user-dirs.dirs (by
// default ~/.config/user-dirs.dirs), with a leading $HOME expanded; else $HOME/Documents.
// Refused, with a reason, rather than guessed: a home that is not set or not absolute, a value that
// is still relative after the expansion (such as an unexpanded variable), and a folder that does
// not exist: the programs create only their own folder in it, never the Documents folder itself.
DocumentsFolder FindDocumentsFolder(const std::string& given, const EnvironmentLookup& environment);

// The same for a program started in `workingFolder` with `environment`: a relative `given` is
// taken from there (a command of korvelctl run by korvel on its behalf).
DocumentsFolder FindDocumentsFolderFrom(const std::string& given,
                                        const std::filesystem::path& workingFolder,
                                        const EnvironmentLookup& environment);

// The environment variables FindDocumentsFolder reads.
inline constexpr const char* kDocumentsVariables[] = {"XDG_DOCUMENTS_DIR", "XDG_CONFIG_HOME",
                                                      "HOME"};

// The same with the process's own environment.
DocumentsFolder FindDocumentsFolder(const std::string& given);

}  // namespace korvel
