#include "model/files/json_checks.h"

#include <algorithm>

namespace korvel::json {
namespace {

constexpr char kDigits[] = "0123456789abcdef";

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

void Refuse(const std::string& where, const std::string& what) {
    throw Refusal{where + ": " + what};
}

void CheckFormat(const Json& document, std::string_view format, int version, std::string_view kind,
                 std::string_view noun) {
    // The kind and version first: a newer document is refused as newer, whatever else it holds.
    if (!document.is_object()) {
        Refuse("$", "an object was expected");
    }
    for (const char* member : {"format", "version"}) {
        if (!document.contains(member)) {
            Refuse("$", "the member \"" + std::string(member) + "\" is missing");
        }
    }
    if (document["format"] != std::string(format)) {
        Refuse("$.format", "this is not " + std::string(kind) + " of Korvel (\"" +
                               std::string(format) + "\" was expected)");
    }
    if (!document["version"].is_number_integer()) {
        Refuse("$.version", "a whole number was expected");
    }
    if (const auto found = document["version"].get<std::int64_t>(); found != version) {
        Refuse("$.version", found > version
                                ? std::string(noun) +
                                      " was made by a newer Korvel (format version " +
                                      std::to_string(found) + "); this one reads version " +
                                      std::to_string(version)
                                : "there is no format version " + std::to_string(found));
    }
}

void ExpectMembers(const Json& object, const std::string& where,
                   std::initializer_list<std::string_view> required,
                   std::initializer_list<std::string_view> optional) {
    if (!object.is_object()) {
        Refuse(where, "an object was expected");
    }
    for (const std::string_view name : required) {
        if (!object.contains(name)) {
            Refuse(where, "the member \"" + std::string(name) + "\" is missing");
        }
    }
    for (const auto& member : object.items()) {
        const std::string& name = member.key();
        const auto known = [&name](std::string_view n) { return n == name; };
        if (std::none_of(required.begin(), required.end(), known) &&
            std::none_of(optional.begin(), optional.end(), known)) {
            Refuse(where, "the member \"" + name + "\" is not part of this format");
        }
    }
}

std::int64_t WholeNumber(const Json& value, const std::string& where, std::int64_t low,
                         std::int64_t high) {
    if (!value.is_number_integer()) {
        Refuse(where, "a whole number was expected");
    }
    // Numbers beyond 64 bits arrive as unsigned; every range checked here is far below that.
    if (value.is_number_unsigned() && value.get<std::uint64_t>() > std::uint64_t(high)) {
        Refuse(where, "must be " + std::to_string(low) + ".." + std::to_string(high) + ", not " +
                          value.dump());
    }
    const auto number = value.get<std::int64_t>();
    if (number < low || number > high) {
        Refuse(where, "must be " + std::to_string(low) + ".." + std::to_string(high) + ", not " +
                          std::to_string(number));
    }
    return number;
}

const std::string& Text(const Json& value, const std::string& where) {
    if (!value.is_string()) {
        Refuse(where, "a string was expected");
    }
    return value.get_ref<const std::string&>();
}

std::string Hex(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    return text;
}

std::vector<std::uint8_t> HexBytes(const Json& value, const std::string& where,
                                   std::optional<std::size_t> size) {
    if (!value.is_string()) {
        Refuse(where, "a string of hexadecimal digits was expected");
    }
    const auto& text = value.get_ref<const std::string&>();
    if (size && text.size() != *size * 2) {
        Refuse(where, "must hold " + std::to_string(*size) + " bytes (" +
                          std::to_string(*size * 2) + " hexadecimal digits), not " +
                          std::to_string(text.size()) + " digits");
    }
    if (text.size() % 2 != 0) {
        Refuse(where, "a string of hexadecimal digits was expected");
    }
    std::vector<std::uint8_t> bytes(text.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int high = HexDigit(text[2 * i]);
        const int low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            Refuse(where, "digit " + std::to_string(2 * i + (high < 0 ? 0 : 1)) +
                              " is not a hexadecimal digit");
        }
        bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return bytes;
}

}  // namespace korvel::json
