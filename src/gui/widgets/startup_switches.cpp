#include "gui/widgets/startup_switches.h"

#include <cstdlib>
#include <sstream>
#include <string>

namespace korvel {

bool StartupMechanismOn(const char* name) {
    const char* off = std::getenv("KORVEL_STARTUP_OFF");
    if (off == nullptr) {
        return true;
    }
    std::istringstream names(off);
    for (std::string item; std::getline(names, item, ',');) {
        if (item == name) {
            return false;
        }
    }
    return true;
}

}  // namespace korvel
