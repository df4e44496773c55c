#include "base/text_encoding.h"

#include <cstdint>

namespace korvel {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendCodePoint(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

TextEncoding DetectEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) {
        return TextEncoding::Utf8WithBom;
    }
    if (bytes.starts_with(kUtf16LeBom)) {
        return TextEncoding::Utf16LittleEndianWithBom;
    }
    return TextEncoding::Utf8;
}

std::string_view ByteOrderMark(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8WithBom:
            return kUtf8Bom;
        case TextEncoding::Utf16LittleEndianWithBom:
            return kUtf16LeBom;
        case TextEncoding::Utf8:
            break;
    }
    return {};
}

std::size_t ByteOrderMarkLength(TextEncoding encoding) {
    return ByteOrderMark(encoding).size();
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const auto lead = static_cast<std::uint8_t>(bytes[i]);
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            cp = lead & 0x1F;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            cp = lead & 0x0F;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            cp = lead & 0x07;
            minimum = 0x10000;
        }
        std::size_t taken = 1;
        bool valid = length != 0;
        while (valid && taken < length) {
            if (i + taken >= n) {
                valid = false;
                break;
            }
            const auto next = static_cast<std::uint8_t>(bytes[i + taken]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (next & 0x3F);
            ++taken;
        }
        if (valid && (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) {
            valid = false;
        }
        if (!valid) {
            // Only the lead byte is given up, so a damaged sequence never swallows the
            // well-formed characters after it.
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        AppendCodePoint(out, cp);
        i += length;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            const char32_t low = text[i + 1];
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::u16string Utf16LittleEndianToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto low = static_cast<std::uint8_t>(bytes[i]);
        const auto high = static_cast<std::uint8_t>(bytes[i + 1]);
        out.push_back(static_cast<char16_t>(low | (high << 8)));
    }
    return out;
}

std::string Utf16ToUtf16LittleEndian(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char16_t unit : text) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
    return out;
}

std::string EncodeText(std::u16string_view text, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf16LittleEndianWithBom) {
        return Utf16ToUtf16LittleEndian(text);
    }
    return Utf16ToUtf8(text);
}

std::u16string DecodeText(std::string_view bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf16LittleEndianWithBom) {
        return Utf16LittleEndianToUtf16(bytes);
    }
    return Utf8ToUtf16(bytes);
}

std::u16string_view CutToUnits(std::u16string_view text, std::size_t maxUnits) {
    if (text.size() <= maxUnits) {
        return text;
    }
    std::size_t length = maxUnits;
    if (length > 0 && IsHighSurrogate(text[length - 1]) && IsLowSurrogate(text[length])) {
        --length;
    }
    return text.substr(0, length);
}

std::string EscapeControls(std::string_view utf8, bool keepLineBreaks) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x20 || byte == 0x7F) {
            if (keepLineBreaks && (byte == '\n' || byte == '\t')) {
                out += static_cast<char>(byte);
            } else {
                out += "\\x";
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
            }
        } else if (byte == 0xC2 && i + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            const auto next = static_cast<unsigned char>(utf8[++i]);
            out += "\\u00";
            out += kHex[next >> 4];
            out += kHex[next & 0xF];
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out;
}

}  // namespace korvel
