#include "app/documents_folder.h"

#include "base/file_io.h"

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string_view>
#include <system_error>

namespace korvel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kVariable = "XDG_DOCUMENTS_DIR";

std::optional<std::string> Get(const EnvironmentLookup& environment, const char* name) {
    const char* value = environment(name);
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::string(value);
}

// Far more than the few lines of a real one.
constexpr std::uintmax_t kMaxUserDirsFileBytes = 1 << 20;

// The value of XDG_DOCUMENTS_DIR="..." in a user-dirs.dirs file, as the shell would read the
// quoted string (only \" and \\ are escapes there); none when the file has no such line, or is no
// regular file (a FIFO there is not waited on).
std::optional<std::string> FromUserDirsFile(const fs::path& file) {
    const FileBytes read = ReadFileBytes(file, kMaxUserDirsFileBytes);
    if (read.status != FileReadStatus::Ok) {
        return std::nullopt;
    }
    std::istringstream in(read.bytes);
    std::string line;
    std::optional<std::string> found;
    while (std::getline(in, line)) {
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#' ||
            line.compare(start, kVariable.size(), kVariable) != 0) {
            continue;
        }
        std::size_t at = start + kVariable.size();
        if (at >= line.size() || line[at] != '=') {
            continue;
        }
        ++at;
        std::string value;
        if (at < line.size() && line[at] == '"') {
            for (++at; at < line.size() && line[at] != '"'; ++at) {
                if (line[at] == '\\' && at + 1 < line.size()) {
                    ++at;
                }
                value += line[at];
            }
        } else {
            value = line.substr(at);
        }
        found = value;  // the last assignment counts, as in the shell
    }
    return found;
}

// "$HOME" or "${HOME}" at the start becomes the home folder; nothing else is expanded.
std::string ExpandHome(const std::string& value, const std::string& home) {
    for (const std::string_view prefix : {std::string_view("$HOME"), std::string_view("${HOME}")}) {
        if (value.compare(0, prefix.size(), prefix) == 0 &&
            (value.size() == prefix.size() || value[prefix.size()] == '/')) {
            return home + value.substr(prefix.size());
        }
    }
    return value;
}

DocumentsFolder Existing(fs::path path, const std::string& origin) {
    std::error_code error;
    if (!fs::is_directory(path, error)) {
        return {{},
                "the Documents folder " + path.string() + " (" + origin +
                    ") does not exist; create it or give --documents DIR"};
    }
    return {std::move(path), {}};
}

}  // namespace

DocumentsFolder FindDocumentsFolder(const std::string& given,
                                    const EnvironmentLookup& environment) {
    if (!given.empty()) {
        return Existing(given, "--documents");
    }
    const std::optional<std::string> home = Get(environment, "HOME");
    if (!home || !fs::path(*home).is_absolute()) {
        return {{},
                "no Documents folder known (HOME is not set to a folder): give --documents DIR"};
    }
    std::optional<std::string> named = Get(environment, kVariable.data());
    std::string origin = std::string(kVariable);
    if (!named) {
        const std::optional<std::string> config = Get(environment, "XDG_CONFIG_HOME");
        const fs::path configFolder = config && fs::path(*config).is_absolute()
                                          ? fs::path(*config)
                                          : fs::path(*home) / ".config";
        named = FromUserDirsFile(configFolder / "user-dirs.dirs");
        origin = (configFolder / "user-dirs.dirs").string();
    }
    if (!named) {
        return Existing(fs::path(*home) / "Documents", "$HOME/Documents");
    }
    const fs::path path = ExpandHome(*named, *home);
    if (!path.is_absolute()) {
        return {{},
                "the Documents folder named by " + origin + " (" + *named +
                    ") is not an absolute path: give --documents DIR"};
    }
    return Existing(path, origin);
}

DocumentsFolder FindDocumentsFolder(const std::string& given) {
    return FindDocumentsFolder(given, [](const char* name) { return std::getenv(name); });
}

DocumentsFolder FindDocumentsFolderFrom(const std::string& given,
                                        const std::filesystem::path& workingFolder,
                                        const EnvironmentLookup& environment) {
    const std::filesystem::path path(given);
    if (given.empty() || path.is_absolute()) {
        return FindDocumentsFolder(given, environment);
    }
    return FindDocumentsFolder((workingFolder / path).string(), environment);
}

}  // namespace korvel
