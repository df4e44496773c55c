// An INI file (language file, dialog layouts): reading, looking up and rewriting one value.
#include <cstdlib>
#include <string_view>

#include "text/ini_document.h"
#include "text/private_profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IniDocument document = IniDocument::FromBytes(bytes);
    (void)document.Find(u"ENGINSH", u"MAIN_TITLE");
    (void)document.Find(u"s", u"k");
    const std::string written = document.ToBytes();
    if (IniDocument::FromBytes(written).ToBytes() != written) {
        std::abort();
    }
    if (document.Set(u"s", u"k", u" value ")) {
        const auto back = IniDocument::FromBytes(document.ToBytes()).Find(u"s", u"k");
        if (!back || *back != u" value ") {
            std::abort();
        }
    }
    if (const auto value = document.Find(u"s", u"k")) {
        (void)LeadingInteger(*value);
    }
    return 0;
}
