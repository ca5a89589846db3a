#pragma once

#include <string>
#include <string_view>

namespace vemro {

// The bash completion script of the program installed as programName, made from the command
// line's tables: the commands after the program's name; after a command that takes options,
// the options, and after an option its literal choices ("rows|tight") or file names when its
// placeholder names a file (nothing for a value of the user's own); otherwise file names, only
// those with the extension the command's argument names ("PROJECT.fnt"). Without a window, the
// commands only a window has are left out.
std::string bashCompletion(std::string_view programName, bool window);

}  // namespace vemro
