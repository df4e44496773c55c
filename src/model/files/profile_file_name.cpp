#include "model/files/profile_file_name.h"

#include "model/files/profile_file.h"

namespace korvel {

std::filesystem::path WithProfileExtension(const std::filesystem::path& chosen) {
    if (chosen.empty() || chosen.has_extension() || !chosen.has_filename()) {
        return chosen;
    }
    std::filesystem::path named = chosen;
    named += u".";
    named += std::u16string(kProfileFileExtension);
    return named;
}

}  // namespace korvel
