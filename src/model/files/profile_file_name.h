#pragma once

#include <filesystem>

namespace korvel {

// The file a save dialog's answer names: the path as chosen, with ".kvp" added when the user
// typed no extension (a name such as "export1" becomes "export1.kvp"; "game.bak" stays).
std::filesystem::path WithProfileExtension(const std::filesystem::path& chosen);

}  // namespace korvel
