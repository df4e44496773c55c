#include "gui/mainwnd/keyboard_jobs.h"

namespace korvel {

void KeyboardJobs::Started() {
    if (m_inFlight++ == 0) {
        emit busyChanged(true);
    }
}

void KeyboardJobs::Finished() {
    if (--m_inFlight == 0) {
        emit busyChanged(false);
    }
}

}  // namespace korvel
