#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vemro {

// A message from the engine or the file functions as a sentence: capital first letter, full
// stop.
std::string sentence(const std::string& message);

// A count as messages write it, with thousands separated: "30,000".
std::string countText(std::size_t number);

// "1 character", "48 characters".
std::string charactersText(std::size_t number);

// A list of names as a sentence takes it: "a", "a and b", "a, b and c".
std::string joinNames(const std::vector<std::string>& names);

// A character as a message shows it: itself when it has a visible shape, else its code
// ("U+0020").
std::string shownCharacter(char32_t code);

// A character as the "Character" list shows it: the character and its code ("A  U+0041"); a
// character without a visible shape by its name ("space  U+0020", "no-break space  U+00A0"),
// a control character by its code alone ("U+0081").
std::string characterCaption(char32_t code);

// The last part of a path: "game.fnt" of "/work/game.fnt".
std::string fileNameOf(const std::string& path);

}  // namespace vemro
