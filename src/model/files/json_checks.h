#pragma once

// The checks our JSON files are read with: a refused document names the JSON path of its first
// mistake and what is wrong there ("$.profiles[1].keyTable: must hold 378 bytes …").

#include <nlohmann/json.hpp>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::json {

using Json = nlohmann::ordered_json;

// Thrown by the checks; the reader catches it and hands its text to its caller.
struct Refusal {
    std::string text;
};

[[noreturn]] void Refuse(const std::string& where, const std::string& what);

// The document's "format" is `format` and its "version" is `version`: a newer one is refused as
// newer ("the backup was made by a newer Korvel (format version 2) …"). `kind` says what the
// format holds ("a keyboard backup"), `noun` what one document is ("the backup").
void CheckFormat(const Json& document, std::string_view format, int version, std::string_view kind,
                 std::string_view noun);

// The object has every member of `required`, may have those of `optional`, and no other.
void ExpectMembers(const Json& object, const std::string& where,
                   std::initializer_list<std::string_view> required,
                   std::initializer_list<std::string_view> optional = {});

std::int64_t WholeNumber(const Json& value, const std::string& where, std::int64_t low,
                         std::int64_t high);
const std::string& Text(const Json& value, const std::string& where);

// Bytes as lowercase hexadecimal digits, and back: exactly `size` bytes when given.
std::string Hex(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> HexBytes(const Json& value, const std::string& where,
                                   std::optional<std::size_t> size = std::nullopt);

}  // namespace korvel::json
