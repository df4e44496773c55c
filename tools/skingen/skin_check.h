#pragma once

#include <QString>

namespace skingen {

// Checks a skin folder against what the programs read from it: every INI file with every key its
// dialog places, every picture present and decodable, state pictures as large as their dialog's
// background, the main window's key buttons apart from each other, hover faces that differ from
// normal ones, each picture's 2× drawing beside it at twice its size (the masks have none). Prints
// each problem to stderr; returns the number of problems.
int CheckSkin(const QString& folder);

}  // namespace skingen
