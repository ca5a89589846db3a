#pragma once

#include <string>
#include <string_view>

namespace vemro {

// Prose for a line of a man page: a backslash becomes \e, a hyphen that starts a word or follows
// another becomes \- (so that "--fit" reads and copies as typed while "power-of-two" keeps its
// hyphens), and a line that would start with '.' or '\'' starts with \& instead.
std::string roffText(std::string_view text);

// Something typed as it is (a command line, an option's name): every hyphen becomes \-.
std::string roffCode(std::string_view text);

// Arguments as the usage writes them ("PROJECT.fnt OUTPUT", "W[,RRGGBB]", "rows|tight"): the
// placeholders in italics, the words typed as they are in bold, the marks between them in roman.
std::string roffArguments(std::string_view arguments);

}  // namespace vemro
