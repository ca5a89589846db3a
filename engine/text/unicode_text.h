#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/result.h"

namespace vemro {

// Whether a character may join a character set: a Unicode scalar value (not a surrogate, at
// most U+10FFFF) that Unicode has assigned and that is neither a control character
// (U+0000..U+001F, U+007F..U+009F, among them CR and LF) nor the line or paragraph separator
// (U+2028, U+2029), which break lines as CR and LF do.
bool isAddableCharacter(char32_t code);

// Whether an addable character shows as itself in a message: it has a shape of its own, so it is
// no space or other separator, no format character (a joiner, a direction mark) and no private
// use character.
bool isVisibleCharacter(char32_t code);

// The code points of UTF-16 text: surrogate pairs joined into one (astral characters such as
// emoji), unpaired surrogates left out.
std::vector<char32_t> joinUtf16(std::u16string_view text);

// The code points of UTF-8 text; a byte-order mark at the start is skipped. Invalid UTF-8
// (stray or missing continuation bytes, overlong forms, surrogates, values past U+10FFFF) is
// refused with a message naming the byte offset of the first bad byte.
Result<std::vector<char32_t>> decodeUtf8(std::string_view bytes);

// UTF-8 bytes of code points (which must be scalar values).
std::string encodeUtf8(const std::vector<char32_t>& codes);

// The addable characters of codes, each once, in the order of their first appearance.
std::vector<char32_t> distinctAddableCharacters(const std::vector<char32_t>& codes);

}  // namespace vemro
