#include "model/files/profile_file.h"

#include <algorithm>
#include <new>
#include <system_error>

#include "base/byte_io.h"
#include "base/file_io.h"
#include "model/files/profile_json.h"
#include "model/files/profile_locations.h"

namespace korvel {
namespace {

constexpr std::uint64_t kMacroBytes = kMacroRecordBytes;
// The JSON form of the largest profile file is a few megabytes; anything far larger is not one.
constexpr std::uint64_t kProfileJsonSizeLimit = 256ull << 20;

void SetError(ProfileReadError* error, ProfileReadError value) {
    if (error != nullptr) {
        *error = value;
    }
}

}  // namespace

bool ProfileHeaderValid(const ConfigHeader& h) {
    return h.magic == kConfigMagic && h.headerLength == kChecksummedHeaderBytes &&
           h.formatCode == 3 && h.formatVersion == 1 && h.totalBytes >= kConfigImageBytes &&
           h.entryCount == kConfigEntries && h.macroCount <= kMaxMacros && h.reservedFlag <= 1 &&
           static_cast<std::uint64_t>(h.totalBytes) ==
               kConfigImageBytes + kMacroBytes * h.macroCount + h.stringPoolBytes &&
           h.checksum == ConfigHeaderChecksum(h);
}

std::u16string FormatWithPath(std::u16string_view format, const std::filesystem::path& path) {
    std::u16string text(format);
    if (const auto at = text.find(u"%s"); at != std::u16string::npos) {
        text.replace(at, 2, path.u16string());
    }
    return text;
}

ProfileFileCheck CheckProfileFile(const std::filesystem::path& path) {
    RegularFileReader in(path);
    switch (in.GetStatus()) {
        case RegularFileReader::Status::Ok:
            break;
        case RegularFileReader::Status::Unreadable:
            return ProfileFileCheck::Unreadable;
        case RegularFileReader::Status::Missing:
        case RegularFileReader::Status::Folder:
        case RegularFileReader::Status::NotRegularFile:
            return ProfileFileCheck::Missing;
    }
    const std::uint64_t size = in.Size();
    // The header is all the check looks at; the rest of the file is the load's business.
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(std::min<std::uint64_t>(size, kConfigImageBytes));
    } catch (const std::bad_alloc&) {
        return ProfileFileCheck::NoMemory;
    }
    if (!in.ReadExactly(bytes)) {
        return ProfileFileCheck::Unreadable;
    }
    if (IsJsonDocument(bytes)) {
        // The JSON form has no header of its own: it is checked by being read.
        return ReadProfileFile(path) ? ProfileFileCheck::Valid : ProfileFileCheck::BadHeader;
    }
    if (size >= kProfileFileSizeLimit || size < kConfigImageBytes) {
        return ProfileFileCheck::WrongSize;
    }
    ByteReader reader(bytes);
    auto image = std::unique_ptr<ConfigImage>(new (std::nothrow) ConfigImage{});
    if (!image) {
        return ProfileFileCheck::NoMemory;
    }
    ReadConfigImage(reader, *image);
    return ProfileHeaderValid(image->header) ? ProfileFileCheck::Valid
                                             : ProfileFileCheck::BadHeader;
}

std::optional<ProfileContents> ParseProfileBytes(std::span<const std::uint8_t> bytes,
                                                 ProfileReadError* error) {
    SetError(error, ProfileReadError::None);
    try {
        ProfileContents contents;
        contents.image = std::make_unique<ConfigImage>();
        ByteReader reader(bytes);
        if (!ReadConfigImage(reader, *contents.image)) {
            SetError(error, ProfileReadError::Short);
            return std::nullopt;
        }
        const ConfigHeader& header = contents.image->header;
        if (header.macroCount > kMaxMacros) {
            SetError(error, ProfileReadError::Inconsistent);
            return std::nullopt;
        }
        // Sizes are checked against what is there before anything is allocated for them.
        if (reader.Remaining() < kMacroBytes * header.macroCount) {
            SetError(error, ProfileReadError::Short);
            return std::nullopt;
        }
        contents.macros.resize(header.macroCount);
        for (MacroRecord& record : contents.macros) {
            if (!ReadMacroRecord(reader, record)) {
                SetError(error, ProfileReadError::Inconsistent);
                return std::nullopt;
            }
        }
        if (reader.Remaining() < header.stringPoolBytes) {
            SetError(error, ProfileReadError::Short);
            return std::nullopt;
        }
        std::vector<std::uint8_t> pool(header.stringPoolBytes);
        reader.ReadBytes(pool);
        for (int k = 0; k < kConfigEntries; ++k) {
            const KeyEntry& entry = contents.image->Entry(k);
            if (!HasEntryText(entry.type)) {
                continue;
            }
            if (const auto text = PoolTextAt(pool, entry.value & ~1u)) {
                contents.strings.SetText(k, *text);
            }
        }
        return contents;
    } catch (const std::bad_alloc&) {
        SetError(error, ProfileReadError::NoMemory);
        return std::nullopt;
    }
}

namespace {

// The rest of a file that began as a JSON document, and the profile it stands for.
std::optional<ProfileContents> ReadProfileJson(RegularFileReader& in,
                                               std::vector<std::uint8_t> begun, std::uint64_t size,
                                               ProfileReadError* error, std::string* detail) {
    if (size > kProfileJsonSizeLimit) {
        SetError(error, ProfileReadError::JsonMistake);
        if (detail != nullptr) {
            *detail = "far larger than the JSON form of any profile";
        }
        return std::nullopt;
    }
    const std::size_t start = begun.size();
    begun.resize(static_cast<std::size_t>(size));
    if (!in.ReadExactly(std::span(begun).subspan(start))) {
        SetError(error, ProfileReadError::Unreadable);
        return std::nullopt;
    }
    std::string why;
    const auto file = ProfileFromJson(
        std::string_view(reinterpret_cast<const char*>(begun.data()), begun.size()), why);
    if (!file) {
        SetError(error, ProfileReadError::JsonMistake);
        if (detail != nullptr) {
            *detail = why;
        }
        return std::nullopt;
    }
    return ParseProfileBytes(*file, error);
}

}  // namespace

std::optional<ProfileContents> ReadProfileFile(const std::filesystem::path& path,
                                               ProfileReadError* error, bool* headerFails,
                                               std::string* detail) {
    if (headerFails != nullptr) {
        *headerFails = false;
    }
    // The size is the open file's: a file replaced while it is read is read as the one opened.
    RegularFileReader in(path);
    switch (in.GetStatus()) {
        case RegularFileReader::Status::Ok:
            break;
        case RegularFileReader::Status::Missing:
            SetError(error, ProfileReadError::Missing);
            return std::nullopt;
        case RegularFileReader::Status::Folder:
            SetError(error, ProfileReadError::Folder);
            return std::nullopt;
        case RegularFileReader::Status::NotRegularFile:
            SetError(error, ProfileReadError::NotRegularFile);
            return std::nullopt;
        case RegularFileReader::Status::Unreadable:
            SetError(error, ProfileReadError::Unreadable);
            return std::nullopt;
    }
    const std::uint64_t size = in.Size();
    if (size >= kProfileFileSizeLimit) {
        SetError(error, ProfileReadError::Inconsistent);
        return std::nullopt;
    }
    try {
        // The image first: its header says how much of the file belongs to the configuration, so
        // that neither a long tail nor a lying header makes the whole file be read into memory.
        std::vector<std::uint8_t> bytes(std::min<std::uint64_t>(size, kConfigImageBytes));
        if (!in.ReadExactly(bytes)) {
            SetError(error, ProfileReadError::Unreadable);
            return std::nullopt;
        }
        if (IsJsonDocument(bytes)) {
            return ReadProfileJson(in, std::move(bytes), size, error, detail);
        }
        if (bytes.size() < kConfigImageBytes) {
            SetError(error, ProfileReadError::Short);
            return std::nullopt;
        }
        const auto image = std::make_unique<ConfigImage>();
        ByteReader reader(bytes);
        ReadConfigImage(reader, *image);
        const ConfigHeader& header = image->header;
        if (headerFails != nullptr) {
            *headerFails = !ProfileHeaderValid(header);
        }
        const std::uint64_t announced =
            kMacroBytes * std::min<std::uint64_t>(header.macroCount, kMaxMacros + 1) +
            header.stringPoolBytes;
        const std::uint64_t rest = std::min<std::uint64_t>(announced, size - kConfigImageBytes);
        bytes.resize(static_cast<std::size_t>(kConfigImageBytes + rest));
        if (!in.ReadExactly(std::span(bytes).subspan(kConfigImageBytes))) {
            SetError(error, ProfileReadError::Unreadable);
            return std::nullopt;
        }
        return ParseProfileBytes(bytes, error);
    } catch (const std::bad_alloc&) {
        SetError(error, ProfileReadError::NoMemory);
        return std::nullopt;
    }
}

std::vector<std::uint8_t> SerializeEditingConfig(EditingHolder& editing) {
    ConfigImage* image = editing.Image();
    if (image == nullptr) {
        return {};
    }
    InitConfigHeader(*image, editing.MacroCount(), editing.StringBytes(), 0);
    const std::vector<std::uint8_t> pool =
        PackStringPool(*image, editing.Strings(), editing.StringBytes());
    ByteWriter writer;
    WriteConfigImage(writer, *image);
    for (const MacroRecord& record : editing.Macros()) {
        WriteMacroRecord(writer, record);
    }
    writer.WriteBytes(pool);
    return writer.Take();
}

void PlaceProfileContents(ConfigStore& store, ProfileContents&& contents) {
    EditingHolder& editing = store.EditingConfig();
    auto lock = editing.Lock();
    editing.Release();
    editing.SetImage(std::move(contents.image));
    editing.SetMacros(std::move(contents.macros));
    editing.Strings() = std::move(contents.strings);
}

bool LoadProfileFile(ConfigStore& store, const std::filesystem::path& path) {
    auto contents = ReadProfileFile(path);
    if (!contents) {
        return false;
    }
    PlaceProfileContents(store, std::move(*contents));
    return true;
}

FileWriteResult SaveProfileFile(ConfigStore& store, bool lockEditing,
                                const std::filesystem::path& path) {
    EditingHolder& editing = store.EditingConfig();
    std::unique_lock<std::recursive_mutex> lock;
    if (lockEditing) {
        lock = editing.Lock();
    }
    try {
        const std::vector<std::uint8_t> bytes = SerializeEditingConfig(editing);
        if (bytes.empty()) {
            return {FileWriteResult::Status::Failed,
                    std::make_error_code(std::errc::invalid_argument)};
        }
        return ReplaceFile(path, bytes);
    } catch (const std::bad_alloc&) {
        return {FileWriteResult::Status::Failed,
                std::make_error_code(std::errc::not_enough_memory)};
    }
}

std::optional<FileWriteResult> SaveWorkingFile(ConfigStore& store, bool lockEditing,
                                               const std::filesystem::path& documents) {
    const std::filesystem::path file = WorkingFile(documents);
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        return std::nullopt;
    }
    return SaveProfileFile(store, lockEditing, file);
}

std::string_view ProfileReadErrorReason(ProfileReadError error) {
    switch (error) {
        case ProfileReadError::Missing:
            return "no such file";
        case ProfileReadError::Folder:
            return "is a folder, not a file";
        case ProfileReadError::NotRegularFile:
            return "is a pipe, socket or device, not a file";
        case ProfileReadError::Unreadable:
            return "the file cannot be read";
        case ProfileReadError::Short:
            return "the file ends before the data its header announces";
        case ProfileReadError::Inconsistent:
            return "the file holds more macros or actions than a configuration can";
        case ProfileReadError::NoMemory:
            return "out of memory";
        case ProfileReadError::JsonMistake:
            return "the JSON form of the profile has a mistake";
        case ProfileReadError::None:
            break;
    }
    return "not a profile file";
}

}  // namespace korvel
