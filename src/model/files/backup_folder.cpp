#include "model/files/backup_folder.h"

#include <algorithm>
#include <ctime>
#include <regex>

#include "model/files/profile_locations.h"

namespace korvel {
namespace {

constexpr std::string_view kBackupExtension = ".json";

// "2026-12-11_09-30-15_import.json", and "..._import_2.json" for a second backup taken in the
// same second before the same operation.
const std::regex& BackupNamePattern() {
    static const std::regex pattern(
        R"(^(\d{4}-\d{2}-\d{2})_(\d{2})-(\d{2})-(\d{2})_([a-z]+(?:-[a-z]+)*)(?:_\d+)?\.json$)");
    return pattern;
}

}  // namespace

std::filesystem::path BackupsFolder(const std::filesystem::path& documents) {
    return ProfileDirectory(documents) / "Backups";
}

std::string AutomaticBackupName(std::chrono::system_clock::time_point taken,
                                std::string_view operation) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(taken);
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    return std::string(stamp) + "_" + std::string(operation) + std::string(kBackupExtension);
}

std::optional<BackupEntry> BackupEntryOf(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    std::smatch parts;
    if (!std::regex_match(name, parts, BackupNamePattern())) {
        return std::nullopt;
    }
    return BackupEntry{
        file, parts[1].str() + " " + parts[2].str() + ":" + parts[3].str() + ":" + parts[4].str(),
        parts[5].str()};
}

std::vector<BackupEntry> ListAutomaticBackups(const std::filesystem::path& folder) {
    std::vector<BackupEntry> entries;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (!it->is_regular_file(error)) {
            continue;
        }
        if (auto entry = BackupEntryOf(it->path())) {
            entries.push_back(std::move(*entry));
        }
    }
    // The name starts with the time it was taken; a second one in the same second has the longer
    // name.
    std::sort(entries.begin(), entries.end(), [](const BackupEntry& a, const BackupEntry& b) {
        const std::string left = a.file.filename().string();
        const std::string right = b.file.filename().string();
        if (a.taken != b.taken) {
            return a.taken > b.taken;
        }
        if (left.size() != right.size()) {
            return left.size() > right.size();
        }
        return left > right;
    });
    return entries;
}

void PruneAutomaticBackups(const std::filesystem::path& folder, std::size_t kept) {
    const std::vector<BackupEntry> entries = ListAutomaticBackups(folder);
    for (std::size_t i = kept; i < entries.size(); ++i) {
        std::error_code ignored;
        std::filesystem::remove(entries[i].file, ignored);
    }
}

FileWriteResult WriteCompleteBackupFile(const std::filesystem::path& file,
                                        const CompleteBackup& backup) {
    return ReplaceFile(file, FormatCompleteBackup(backup));
}

std::optional<CompleteBackup> LoadCompleteBackupFile(const std::filesystem::path& file,
                                                     std::string& error) {
    const FileBytes read = ReadFileBytes(file, kMaxBackupFileBytes);
    switch (read.status) {
        case FileReadStatus::Ok:
            return ParseCompleteBackup(read.bytes, error);
        case FileReadStatus::Missing:
            error = "there is no such file";
            break;
        case FileReadStatus::Unreadable:
            error = "the file cannot be read";
            break;
        case FileReadStatus::TooLarge:
            error = "the file is far larger than any backup: it is not one";
            break;
    }
    return std::nullopt;
}

}  // namespace korvel
