#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/file_io.h"
#include "text/ini_document.h"

namespace korvel {

// Room for a value read from a profile, in UTF-16 units with its terminating NUL: a value is cut
// to 259 units.
inline constexpr std::size_t kProfileBufferSize = 260;

// Our INI files are a few kilobytes; anything far larger is not one of them and is neither read
// nor rewritten.
inline constexpr std::uintmax_t kMaxProfileFileBytes = 16u * 1024u * 1024u;

// An INI file read and written with the semantics of the Windows private-profile functions:
// section and key names match without regard to case; a value is returned without the blanks
// around it; a missing key gives the default with its trailing blanks removed (so the usual
// default " " gives an empty text); a value is cut to the room given; writing changes one line in
// place and leaves the rest of the file as it was, in the encoding it was in (UTF-8 with or without
// byte-order mark, or UTF-16LE with byte-order mark; a new file is UTF-8).
//
// One PrivateProfile is one reading of the file, so that many look-ups agree with each other.
// Not safe for concurrent use; give each thread its own.
class PrivateProfile {
public:
    PrivateProfile() = default;

    // A missing, unreadable or oversized file reads as an empty one; Status() tells which.
    static PrivateProfile Load(const std::filesystem::path& file);

    FileReadStatus Status() const { return m_status; }
    TextEncoding Encoding() const { return m_document.Encoding(); }

    // At most bufferSize - 1 units (0 for a bufferSize of 0); a surrogate pair is never split.
    std::u16string GetString(std::u16string_view section, std::u16string_view key,
                             std::u16string_view defaultValue = u" ",
                             std::size_t bufferSize = kProfileBufferSize) const;

    // The decimal number at the start of the value (after blanks and an optional sign), as the C
    // library reads it, clamped to the range of int; 0 when the value does not start with one,
    // `defaultValue` when the key is missing.
    int GetInt(std::u16string_view section, std::u16string_view key, int defaultValue) const;

    // Changes the file held in memory only; see IniDocument::Set for what is refused.
    bool SetString(std::u16string_view section, std::u16string_view key, std::u16string_view value);

    // Writes the whole file through a temporary file and a rename.
    bool Save(const std::filesystem::path& file) const;

private:
    FileReadStatus m_status = FileReadStatus::Missing;
    IniDocument m_document;
};

// The number at the start of `text`, read as the C library's atoi does, but clamped instead of
// undefined when it does not fit in an int.
int LeadingInteger(std::u16string_view text);

// One read of one value, as GetPrivateProfileString does it.
std::u16string ReadProfileString(const std::filesystem::path& file, std::u16string_view section,
                                 std::u16string_view key, std::u16string_view defaultValue = u" ",
                                 std::size_t bufferSize = kProfileBufferSize);

// One write of one value, as WritePrivateProfileString does it: reads the file as it is now, sets
// the value and writes the file back. A file that exists but cannot be read, or is too large to be
// one of ours, is left untouched and false is returned.
bool WriteProfileString(const std::filesystem::path& file, std::u16string_view section,
                        std::u16string_view key, std::u16string_view value);

}  // namespace korvel
