#include "base/file_io.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace korvel {

namespace {

namespace fs = std::filesystem;

// A name in the target's folder that no other writer uses: the rename that follows must stay
// within one file system, and two writers must never share a temporary file.
fs::path TemporaryPathBeside(const fs::path& target) {
    static std::atomic<std::uint64_t> counter{0};
    const auto now =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::uint64_t tag = now ^ (counter.fetch_add(1) * 0x9E3779B97F4A7C15ULL);
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(tag));
        fs::path candidate = target;
        candidate.replace_filename("." + target.filename().string() + suffix);
        std::error_code ec;
        if (!fs::exists(candidate, ec) && !ec) {
            return candidate;
        }
    }
    return {};
}

}  // namespace

FileBytes ReadFileBytes(const fs::path& file, std::uintmax_t maxBytes) {
    FileBytes result;
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (ec || !fs::exists(status)) {
        result.status = (ec && ec != std::errc::no_such_file_or_directory)
                            ? FileReadStatus::Unreadable
                            : FileReadStatus::Missing;
        return result;
    }
    if (!fs::is_regular_file(status)) {
        result.status = FileReadStatus::Unreadable;
        return result;
    }
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec) {
        result.status = FileReadStatus::Unreadable;
        return result;
    }
    if (size > maxBytes) {
        result.status = FileReadStatus::TooLarge;
        return result;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        result.status = FileReadStatus::Unreadable;
        return result;
    }
    // Read up to one byte more than allowed, in case the file grew after its size was taken.
    result.bytes.resize(static_cast<std::size_t>(maxBytes < size + 1 ? maxBytes + 1 : size + 1));
    in.read(result.bytes.data(), static_cast<std::streamsize>(result.bytes.size()));
    if (in.bad()) {
        result = {FileReadStatus::Unreadable, {}};
        return result;
    }
    result.bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (result.bytes.size() > maxBytes) {
        result = {FileReadStatus::TooLarge, {}};
        return result;
    }
    result.status = FileReadStatus::Ok;
    return result;
}

bool WriteFileAtomically(const fs::path& file, std::string_view bytes) {
    std::error_code ec;
    fs::path target = file;
    if (fs::is_symlink(fs::symlink_status(file, ec))) {
        target = fs::weakly_canonical(file, ec);
        if (ec) {
            return false;
        }
    }
    const fs::file_status targetStatus = fs::status(target, ec);
    const bool exists = !ec && fs::exists(targetStatus);
    if (exists) {
        if (!fs::is_regular_file(targetStatus)) {
            return false;
        }
        // Opening for appending changes nothing but tells whether we may write the file at all.
        std::ofstream probe(target, std::ios::binary | std::ios::app);
        if (!probe) {
            return false;
        }
    }

    const fs::path temporary = TemporaryPathBeside(target);
    if (temporary.empty()) {
        return false;
    }
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temporary, ec);
            return false;
        }
    }
    if (exists) {
        fs::permissions(temporary, targetStatus.permissions(), fs::perm_options::replace, ec);
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

}  // namespace korvel
