#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/result.h"
#include "engine/project/effect_settings.h"
#include "files/project/document.h"

namespace vemro {

// Reading the arguments of the command-line options, shared by the option groups.

// A whole decimal number from low to high, or nothing: digits only, no sign, no spaces.
std::optional<std::int32_t> wholeNumber(const std::string& text, std::int32_t low,
                                        std::int32_t high);

// A whole decimal number from low to high with an optional minus sign, or nothing.
std::optional<std::int32_t> signedNumber(const std::string& text, std::int32_t low,
                                         std::int32_t high);

// Bytes written as pairs of hexadecimal digits ("FF8000"), exactly `count` of them.
std::optional<std::vector<std::uint8_t>> hexBytes(const std::string& text, std::size_t count);

// A colour written RRGGBB.
std::optional<Rgb> colourNamed(const std::string& text);

// The parts of a comma-separated argument.
std::vector<std::string> commaParts(const std::string& text);

// Whether two names are equal when ASCII letters are compared without case.
bool equalIgnoringCase(const std::string& a, const std::string& b);

// Appends the characters to the document's list after the ones it has (a character already
// there keeps its place and borders), or leaves the list as it was and says that the list would
// grow past the project's limit; `source` names where the characters come from in that message
// ("the characters of \"names.txt\"").
Status addCharacters(const std::vector<char32_t>& characters, const std::string& source,
                     Document& document);

}  // namespace vemro
