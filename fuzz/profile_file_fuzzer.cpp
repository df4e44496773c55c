// A profile file from anywhere (an import, a damaged working file): the import's header check, the
// whole-file parse, a file once accepted must save and read back, and its JSON form must give it
// back byte for byte.
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/files/profile_file.h"
#include "model/files/profile_json.h"
#include "support/scripted_prompts.h"
#include "sync/profile_transfer.h"

namespace {

const std::filesystem::path& TempFile() {
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("korvel_profile_fuzz_" + std::to_string(getpid()) + ".kvp");
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvel;
    const std::span<const std::uint8_t> bytes(data, size);
    {
        std::ofstream out(TempFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    ScriptedPrompts prompts;
    const int valid =
        ValidateProfileFile(TempFile(), prompts, [](std::string_view) { return u""; });
    if (valid != 0 && valid != 1) {
        std::abort();  // the file exists and is readable
    }

    auto contents = ParseProfileBytes(bytes);
    if (!contents) {
        return 0;
    }
    // Every file the import takes has a JSON form, which gives the file back byte for byte
    // (ProfileToJson refuses one that would not).
    std::string error;
    if (ProfileHeaderValid(contents->image->header) && !ProfileToJson(bytes, error)) {
        std::abort();
    }
    ConfigStore store;
    EditingHolder& editing = store.EditingConfig();
    auto lock = editing.Lock();
    editing.SetImage(std::move(contents->image));
    editing.SetMacros(std::move(contents->macros));
    editing.Strings() = std::move(contents->strings);
    const std::vector<std::uint8_t> saved = SerializeEditingConfig(editing);
    if (!ParseProfileBytes(saved)) {
        std::abort();  // what the program writes it must read back
    }
    return 0;
}
