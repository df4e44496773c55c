#pragma once

#include <QStringList>

namespace korvel {

// The executables of the user's running programs, by name, sorted and each once: what a rule of
// the per-application profiles may name. Empty where the system does not tell (no /proc).
QStringList RunningPrograms();

}  // namespace korvel
