#pragma once

#include <string>

namespace vemro {

// "U+0041", "U+1F600": the code point in upper-case hex, at least four digits.
std::string codePointName(char32_t code);

// The code point's name followed by the character itself ("U+30A2 ア"); a character that is no
// addable character (a control character, an unassigned or invalid code point) is named only,
// so that nothing unprintable reaches a message.
std::string characterLabel(char32_t code);

}  // namespace vemro
