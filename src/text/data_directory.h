#pragma once

#include <filesystem>

namespace korvel {

// The folder that holds Skins/, Help/ and Package/ for a program in `programDirectory`: the
// program's own folder when Skins/ lies beside it (the build tree, a copied folder), otherwise
// ../share/korvel when that holds Skins/ (an installed program in PREFIX/bin), otherwise the
// program's own folder again, so that the code which opens a file reports what is missing.
std::filesystem::path DataDirectoryOf(const std::filesystem::path& programDirectory);

// Whether the program runs from an installed copy, whose data folder the user cannot write.
bool IsInstalledLayout(const std::filesystem::path& programDirectory);

// The udev rule shipped with the program: udev/70-korvel.rules in its data folder.
std::filesystem::path UdevRuleOf(const std::filesystem::path& programDirectory);

// The user's configuration folder of both programs: Korvel_Tolvane below $XDG_CONFIG_HOME, else
// below ~/.config. Empty when neither is known.
std::filesystem::path UserConfigFolder();

// Where an installed program keeps the user's language choice: language.ini in the user's
// configuration folder ($XDG_CONFIG_HOME, else ~/.config) below Korvel_Tolvane, beside the
// settings store. Empty for a program that runs beside its own Skins/ folder: that one keeps the
// choice in Skins/language.ini itself.
std::filesystem::path LanguageChoiceFileOf(const std::filesystem::path& programDirectory);

}  // namespace korvel
