#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korvel {

// The encodings our INI files come in. Anything without a byte-order mark is read as UTF-8.
enum class TextEncoding {
    Utf8,
    Utf8WithBom,
    Utf16LittleEndianWithBom,
};

// Which encoding a file's first bytes announce.
TextEncoding DetectEncoding(std::string_view bytes);

// Length of the byte-order mark that `encoding` puts in front of a file.
std::size_t ByteOrderMarkLength(TextEncoding encoding);
std::string_view ByteOrderMark(TextEncoding encoding);

// Decoding never fails: every byte that is not part of a well-formed UTF-8 sequence becomes
// U+FFFD, so damaged files still read as far as they are readable.
std::u16string Utf8ToUtf16(std::string_view bytes);

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// A trailing odd byte is dropped.
std::u16string Utf16LittleEndianToUtf16(std::string_view bytes);
std::string Utf16ToUtf16LittleEndian(std::u16string_view text);

// Bytes of `text` in `encoding`, without a byte-order mark.
std::string EncodeText(std::u16string_view text, TextEncoding encoding);
// Text of `bytes` (which carry no byte-order mark) in `encoding`.
std::u16string DecodeText(std::string_view bytes, TextEncoding encoding);

// `utf8` fit to print on a terminal: control characters (C0, DEL and the C1 range U+0080..U+009F),
// which could move the cursor, retitle the window or clear the screen, become visible escapes
// (\x1b, \u0085). keepLineBreaks leaves '\n' and '\t' as they are, for messages laid out in lines.
std::string EscapeControls(std::string_view utf8, bool keepLineBreaks = false);

// The longest prefix of `text` of at most `maxUnits` UTF-16 units that does not end inside a
// surrogate pair.
std::u16string_view CutToUnits(std::u16string_view text, std::size_t maxUnits);

}  // namespace korvel
