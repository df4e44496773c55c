#include "text/ini_document.h"

#include <algorithm>
#include <cstdint>

namespace korvel {

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f';
}

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsQuote(char16_t c) {
    return c == u'"' || c == u'\'';
}

bool IsQuoted(std::u16string_view text) {
    return text.size() >= 2 && IsQuote(text.front()) && text.front() == text.back();
}

char16_t FoldAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

bool HasAny(std::u16string_view text, std::u16string_view characters) {
    return text.find_first_of(characters) != std::u16string_view::npos;
}

// What is written after '=' so that reading gives `value` back.
std::u16string StoredValue(std::u16string_view value) {
    const bool edgeBlank = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
    if (edgeBlank || IsQuoted(value)) {
        return u"\"" + std::u16string(value) + u"\"";
    }
    return std::u16string(value);
}

constexpr std::u16string_view kLineBreaksAndNul{u"\r\n\0", 3};

}  // namespace

IniDocument IniDocument::FromBytes(std::string_view bytes) {
    IniDocument document;
    document.m_encoding = DetectEncoding(bytes);
    bytes.remove_prefix(ByteOrderMarkLength(document.m_encoding));

    // Lines end at LF; a CR just before it belongs to the line ending. A UTF-16 file of odd length
    // ends in half a code unit, which no reader can make sense of; it is dropped, since keeping it
    // would put every line added after it out of step.
    const bool wide = document.m_encoding == TextEncoding::Utf16LittleEndianWithBom;
    if (wide && bytes.size() % 2 != 0) {
        bytes.remove_suffix(1);
    }
    const std::size_t unit = wide ? 2 : 1;
    const std::string_view lf = wide ? std::string_view("\n\0", 2) : std::string_view("\n");
    const std::string_view cr = wide ? std::string_view("\r\0", 2) : std::string_view("\r");

    std::size_t start = 0;
    std::size_t position = 0;
    while (position + unit <= bytes.size()) {
        if (bytes.substr(position, unit) != lf) {
            position += unit;
            continue;
        }
        std::size_t contentEnd = position;
        if (contentEnd - start >= unit && bytes.substr(contentEnd - unit, unit) == cr) {
            contentEnd -= unit;
        }
        document.m_lines.push_back(
            ParseLine(std::string(bytes.substr(start, contentEnd - start)),
                      std::string(bytes.substr(contentEnd, position + unit - contentEnd)),
                      document.m_encoding));
        position += unit;
        start = position;
    }
    if (start < bytes.size()) {
        document.m_lines.push_back(
            ParseLine(std::string(bytes.substr(start)), {}, document.m_encoding));
    }
    return document;
}

std::string IniDocument::ToBytes() const {
    std::string out(ByteOrderMark(m_encoding));
    for (const Line& line : m_lines) {
        out += line.bytes;
        out += line.terminator;
    }
    return out;
}

IniDocument::Line IniDocument::ParseLine(std::string bytes, std::string terminator,
                                         TextEncoding encoding) {
    Line line;
    line.text = DecodeText(bytes, encoding);
    line.bytes = std::move(bytes);
    line.terminator = std::move(terminator);

    const std::u16string_view text = line.text;
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first])) {
        ++first;
    }
    if (first == text.size() || text[first] == u';') {
        return line;
    }
    if (text[first] == u'[') {
        const std::size_t close = text.find(u']', first + 1);
        const std::size_t end = close == std::u16string_view::npos ? text.size() : close;
        line.kind = LineKind::Section;
        line.name = Trim(text.substr(first + 1, end - first - 1));
        return line;
    }
    const std::size_t equals = text.find(u'=', first);
    if (equals == std::u16string_view::npos) {
        return line;
    }
    const std::u16string_view name = Trim(text.substr(first, equals - first));
    if (name.empty()) {
        return line;
    }
    line.kind = LineKind::Key;
    line.name = name;
    line.valueStart = equals + 1;
    while (line.valueStart < text.size() && IsBlank(text[line.valueStart])) {
        ++line.valueStart;
    }
    return line;
}

std::optional<std::u16string> IniDocument::Find(std::u16string_view section,
                                                std::u16string_view key) const {
    section = Trim(section);
    key = Trim(key);
    bool inSection = false;
    for (const Line& line : m_lines) {
        if (line.kind == LineKind::Section) {
            inSection = SameName(line.name, section);
        } else if (inSection && line.kind == LineKind::Key && SameName(line.name, key)) {
            std::u16string_view value =
                Trim(std::u16string_view(line.text).substr(line.valueStart));
            if (IsQuoted(value)) {
                value = value.substr(1, value.size() - 2);
            }
            return std::u16string(value);
        }
    }
    return std::nullopt;
}

bool IniDocument::Set(std::u16string_view section, std::u16string_view key,
                      std::u16string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty() || HasAny(section, kLineBreaksAndNul) ||
        HasAny(key, kLineBreaksAndNul) || HasAny(value, kLineBreaksAndNul) ||
        section.find(u']') != std::u16string_view::npos ||
        key.find(u'=') != std::u16string_view::npos || key.front() == u'[' || key.front() == u';') {
        return false;
    }
    const std::u16string stored = StoredValue(value);

    std::optional<std::size_t> firstHeader;
    std::optional<std::size_t> insertAfter;  // last line of the first matching section's keys
    bool inSection = false;
    bool inFirstSection = false;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        Line& line = m_lines[i];
        if (line.kind == LineKind::Section) {
            inSection = SameName(line.name, section);
            inFirstSection = inSection && !firstHeader;
            if (inFirstSection) {
                firstHeader = i;
                insertAfter = i;
            }
            continue;
        }
        if (!inSection || line.kind != LineKind::Key) {
            continue;
        }
        if (SameName(line.name, key)) {
            std::u16string text = line.text.substr(0, line.valueStart) + stored;
            Line updated = MakeLine(std::move(text));
            updated.terminator = std::move(line.terminator);
            line = std::move(updated);
            return true;
        }
        if (inFirstSection) {
            insertAfter = i;
        }
    }

    const std::u16string keyLine = std::u16string(key) + u"=" + stored;
    if (insertAfter) {
        InsertLine(*insertAfter + 1, keyLine);
        return true;
    }
    if (!m_lines.empty() && !Trim(m_lines.back().text).empty()) {
        InsertLine(m_lines.size(), {});
    }
    InsertLine(m_lines.size(), u"[" + std::u16string(section) + u"]");
    InsertLine(m_lines.size(), keyLine);
    return true;
}

IniDocument::Line IniDocument::MakeLine(std::u16string text) const {
    return ParseLine(EncodeText(text, m_encoding), {}, m_encoding);
}

std::string IniDocument::DefaultTerminator() const {
    for (const Line& line : m_lines) {
        if (!line.terminator.empty()) {
            return line.terminator;
        }
    }
    return EncodeText(u"\r\n", m_encoding);
}

void IniDocument::InsertLine(std::size_t position, std::u16string text) {
    const std::string terminator = DefaultTerminator();
    if (position > 0 && m_lines[position - 1].terminator.empty()) {
        m_lines[position - 1].terminator = terminator;
    }
    Line line = MakeLine(std::move(text));
    line.terminator = terminator;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(position), std::move(line));
}

}  // namespace korvel
