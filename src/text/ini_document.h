#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_encoding.h"

namespace korvel {

// An INI file held line by line, so that changing one value rewrites that line only: every other
// line keeps its exact bytes (even bytes that are not valid text), its line ending and its place.
//
// Names of sections and keys match without regard to ASCII case and surrounding blanks. When a
// section or key occurs more than once, the first occurrence in the file counts. Lines that are
// neither "[section]" nor "key=value" (comments, blank lines, stray text) are kept but never match.
class IniDocument {
public:
    IniDocument() = default;

    // `bytes` is a whole file, byte-order mark included.
    static IniDocument FromBytes(std::string_view bytes);
    std::string ToBytes() const;

    TextEncoding Encoding() const { return m_encoding; }

    // The value as stored: blanks around it removed and, when it is wrapped in a pair of matching
    // quotes, the quotes too. nullopt when the key is missing.
    std::optional<std::u16string> Find(std::u16string_view section, std::u16string_view key) const;

    // Updates the first occurrence of the key in place, or adds the key at the end of the first
    // such section, or adds the section at the end of the document. A value whose edge blanks or
    // quotes would be lost on reading is stored in quotes. Returns false, changing nothing, when
    // the names or the value cannot be stored on one line (empty names, line breaks, NUL, '=' in a
    // key, ']' in a section name).
    bool Set(std::u16string_view section, std::u16string_view key, std::u16string_view value);

private:
    enum class LineKind { Other, Section, Key };

    struct Line {
        std::string bytes;       // content in the file's encoding, line ending excluded
        std::string terminator;  // the line ending's bytes; empty for a last line without one
        std::u16string text;     // decoded content
        LineKind kind = LineKind::Other;
        std::u16string name;         // section or key name, blanks removed
        std::size_t valueStart = 0;  // Key: where the value begins in `text`
    };

    static Line ParseLine(std::string bytes, std::string terminator, TextEncoding encoding);
    Line MakeLine(std::u16string text) const;
    std::string DefaultTerminator() const;
    void InsertLine(std::size_t position, std::u16string text);

    TextEncoding m_encoding = TextEncoding::Utf8;
    std::vector<Line> m_lines;
};

}  // namespace korvel
