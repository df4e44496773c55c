// The JSON form of a profile file is outside text, often edited by hand: whatever it holds, the
// reader either refuses it with a reason or gives a profile file the import takes, whose own JSON
// form gives that file back byte for byte.
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/files/profile_file.h"
#include "model/files/profile_json.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvel;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto file = ProfileFromJson(text, error);
    if (!file) {
        if (error.empty()) {
            std::abort();  // a refusal always says why
        }
        return 0;
    }
    const auto contents = ParseProfileBytes(*file);
    if (!contents || !ProfileHeaderValid(contents->image->header)) {
        std::abort();  // what the reader accepts, the import takes
    }
    // ProfileToJson reads its own form back and refuses one that would not give the same file.
    if (!ProfileToJson(*file, error)) {
        std::abort();
    }
    return 0;
}
