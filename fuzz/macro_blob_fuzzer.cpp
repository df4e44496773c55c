// A macro area as read back from a keyboard: whatever it holds, the parse stays within the bytes
// given and what it returns is within a configuration's limits.
#include <cstdlib>

#include "model/macros/macro_blob.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvel;
    const ParsedMacroArea area =
        ParseMacroBlob(std::span<const std::uint8_t>(data, size), u"Macro");
    for (const MacroRecord& record : area.records) {
        if (record.actions.size() > static_cast<std::size_t>(kMaxMacroActions)) {
            std::abort();
        }
    }
    // What was read must measure and build again as a download would.
    const MacroBlobSizes sizes = MeasureMacros(area.records);
    if (sizes.fullSize <= 0xFFFF) {
        (void)BuildMacroBlob(area.records, static_cast<std::uint16_t>(sizes.fullSize), true);
    }
    return 0;
}
