#pragma once

#include <string>
#include <string_view>

namespace vemro {

// The bash completion script of the program installed as programName, made from the command
// line's tables: the commands after the program's name (and project files, with a window);
// after a command, its own options (ExportOption::where) and the files its arguments name
// ("FILE.toml": build files); after an option, what its argument kind takes: its words
// (argumentWords: choices, formats, character sets), the installed typefaces as the program
// lists them, file names, or folders; nothing for a value of the user's own. Without a window,
// the commands only a window has are left out.
std::string bashCompletion(std::string_view programName, bool window);

}  // namespace vemro
