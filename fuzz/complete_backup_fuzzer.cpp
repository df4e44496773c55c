// A complete backup file is outside bytes: whatever a file holds, the reader either refuses it
// with a reason or gives a backup that writes back to the same text and reads back the same.
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/files/complete_backup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto backup = korvel::ParseCompleteBackup(text, error);
    if (!backup) {
        if (error.empty()) {
            std::abort();  // a refusal always says why
        }
        return 0;
    }
    const std::string written = korvel::FormatCompleteBackup(*backup);
    std::string again;
    const auto reread = korvel::ParseCompleteBackup(written, again);
    if (!reread || !(*reread == *backup) || korvel::FormatCompleteBackup(*reread) != written) {
        std::abort();
    }
    return 0;
}
