#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace vemro {

// The first of codes at or after from, going round to the start, whose character the query
// names: the one character typed, or its code as U+XXXX, u+xxxx or bare hex digits (at most six,
// an optional 0x). White space around the query does not count. A single character that is also
// a hex digit ("A") is first looked for as the character, then as the code. Nothing when none
// matches.
std::optional<std::size_t> findCharacter(std::span<const char32_t> codes, std::u16string_view query,
                                         std::size_t from = 0);

}  // namespace vemro
