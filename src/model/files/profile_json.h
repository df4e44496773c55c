#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The JSON form of a profile file (docs/profile-json.md and its schema describe it): keys and
// what they do by the names the window shows, macros with their steps, and whatever the program
// does not interpret kept as it is, so that a file survives profile file → JSON → profile file
// byte for byte.
inline constexpr std::string_view kProfileJsonFormat = "korvel-profile";
inline constexpr int kProfileJsonVersion = 1;

// Whether the bytes are a JSON document rather than a profile file, which starts with its magic
// and never with '{'.
bool IsJsonDocument(std::span<const std::uint8_t> bytes);
bool IsJsonDocument(std::string_view text);

// The JSON form of a profile file the import accepts. None, with the reason in `error`, for any
// other (a header that fails, a file that ends early or holds more than a configuration can).
std::optional<std::string> ProfileToJson(std::span<const std::uint8_t> file, std::string& error);

// The profile file a JSON form stands for. A document with a mistake is refused: none, and in
// `error` the JSON path of the mistake and what is wrong there ("$.profiles[0].keys.A: 'Foo' is
// no key, media key, function or macro").
std::optional<std::vector<std::uint8_t>> ProfileFromJson(std::string_view text, std::string& error);

}  // namespace korvel
