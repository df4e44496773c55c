#include "model/keys/key_codec.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

namespace korvel {
namespace {

bool IsFlag(char16_t c) {
    return c == u'-' || c == u'0' || c == u'+' || c == u' ' || c == u'#';
}
bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool IsLength(char16_t c) {
    return c == u'h' || c == u'l';
}
bool IsIntegerConversion(char16_t c) {
    return c == u'd' || c == u'i' || c == u'u' || c == u'x' || c == u'X' || c == u'o';
}

// Width and precision beyond this are not meaningful for a key name and would only make a huge
// text out of a damaged language file.
constexpr int kMaxFieldWidth = 64;

}  // namespace

std::u16string FormatWithNumber(std::u16string_view format, unsigned value) {
    std::u16string out;
    bool used = false;
    std::size_t i = 0;
    while (i < format.size()) {
        const char16_t c = format[i];
        if (c != u'%') {
            out.push_back(c);
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == u'%') {
            out.push_back(u'%');
            i += 2;
            continue;
        }
        // Parse %[flags][width][.precision][length]conversion into a narrow printf directive.
        std::string directive = "%";
        std::size_t j = i + 1;
        while (j < format.size() && IsFlag(format[j])) {
            directive.push_back(static_cast<char>(format[j++]));
        }
        int width = 0;
        while (j < format.size() && IsDigit(format[j])) {
            width = std::min(width * 10 + (format[j++] - u'0'), 1000);
        }
        int precision = -1;
        if (j < format.size() && format[j] == u'.') {
            ++j;
            precision = 0;
            while (j < format.size() && IsDigit(format[j])) {
                precision = std::min(precision * 10 + (format[j++] - u'0'), 1000);
            }
        }
        while (j < format.size() && IsLength(format[j])) {
            ++j;
        }
        if (used || j >= format.size() || !IsIntegerConversion(format[j]) ||
            width > kMaxFieldWidth || precision > kMaxFieldWidth) {
            // Not a conversion we can fill: keep the text as it stands.
            out.append(format.substr(i, j - i));
            i = j;
            continue;
        }
        if (width > 0) {
            directive += std::to_string(width);
        }
        if (precision >= 0) {
            directive += "." + std::to_string(precision);
        }
        const char conversion = static_cast<char>(format[j]);
        char buffer[160];
        if (conversion == 'd' || conversion == 'i') {
            directive.push_back('d');
            std::snprintf(buffer, sizeof buffer, directive.c_str(), static_cast<int>(value));
        } else {
            directive.push_back(conversion);
            std::snprintf(buffer, sizeof buffer, directive.c_str(), value);
        }
        for (const char* p = buffer; *p != '\0'; ++p) {
            out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*p)));
        }
        used = true;
        i = j + 1;
    }
    return out;
}

DeviceKeyCode KeyCodeAt(const KeyTableBytes& table, int position) {
    if (position < 0 || position >= kMatrixPositions) {
        return {};
    }
    const std::size_t at = static_cast<std::size_t>(position) * kKeyCodeBytes;
    return {table[at], table[at + 1], table[at + 2]};
}

KeyCodec::KeyCodec() : m_defaultKeyTable(kBuiltInDefaultKeyTable) {}

void KeyCodec::SetTexts(KeyTexts texts) {
    std::lock_guard lock(m_mutex);
    m_texts = std::move(texts);
}

KeyTexts KeyCodec::Texts() const {
    std::lock_guard lock(m_mutex);
    return m_texts;
}

std::u16string KeyCodec::SlotLabel(int blockSlot) const {
    if (const int n = GKeyNumberOfSlot(blockSlot)) {
        return GKeyLabel(n);
    }
    return KeyNameOf(ScanOfSlot(static_cast<KeySlot>(blockSlot)));
}

std::u16string KeyCodec::KeyNameOf(ScanCode sc) const {
    const KeyDescriptor& d = KeyDescriptorOf(SlotOfScan(sc));
    std::u16string name;
    {
        std::lock_guard lock(m_mutex);
        name = d.mediaIndex >= 0 ? m_texts.mediaNames[d.mediaIndex] : std::u16string(d.name);
        if (name.empty()) {
            name = FormatWithNumber(m_texts.unknownKey, sc);
        }
    }
    if (name.size() > kKeyNameCapacity - 1) {
        name.resize(kKeyNameCapacity - 1);
    }
    return name;
}

std::u16string KeyCodec::MediaKeyName(int mediaIndex) const {
    if (mediaIndex < 0 || mediaIndex >= kMediaKeys) {
        return {};
    }
    return KeyNameOf(MediaKeyTable()[mediaIndex].scan);
}

std::u16string KeyCodec::FunctionKeyName(int functionIndex) const {
    if (functionIndex < 0 || functionIndex >= kFunctionKeys) {
        return {};
    }
    std::lock_guard lock(m_mutex);
    return m_texts.functionNames[functionIndex];
}

KeyTableBytes KeyCodec::DefaultKeyTable() const {
    std::lock_guard lock(m_mutex);
    return m_defaultKeyTable;
}

void KeyCodec::ReplaceDefaultKeyTable(const KeyTableBytes& table) {
    std::lock_guard lock(m_mutex);
    m_defaultKeyTable = table;
}

DeviceKeyCode KeyCodec::DefaultCodeAt(int position) const {
    std::lock_guard lock(m_mutex);
    return KeyCodeAt(m_defaultKeyTable, position);
}

ScanCode KeyCodec::ScanOfPosition(int position) const {
    return DeviceCodeToScan(DefaultCodeAt(position));
}

}  // namespace korvel
