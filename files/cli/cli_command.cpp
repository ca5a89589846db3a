#include "files/cli/cli_command.h"

#include <array>

namespace vemro {

namespace {

constexpr std::array<CliCommand, 5> kCommands{{
    {"", "[PROJECT.fnt]", "open the window, optionally with a font project", true, false},
    {"--export", "PROJECT.fnt OUTPUT",
     "rebuild the project's atlas and write OUTPUT with the extension replaced:\n"
     "by .tga (image) and .tfd (glyph description) in the tfd format, page k >= 1\n"
     "of several as OUTPUT_k.tga and OUTPUT_k.tfd; by _0.png, _1.png, ... (the\n"
     "pages) and .fnt (BMFont) or .json otherwise",
     false, true},
    {"--list-faces", "", "print the typefaces that can be chosen, one per line", false, false},
    {"--help", "", "print this usage", false, false},
    {"--version", "", "print the program's name and version", false, false},
}};

}  // namespace

std::span<const CliCommand> cliCommands() {
    return kCommands;
}

std::string commandSynopsis(const CliCommand& command) {
    std::string synopsis = command.name;
    for (const char* part : {command.arguments, command.takesOptions ? "[OPTIONS]" : ""}) {
        if (*part != '\0') {
            synopsis += synopsis.empty() ? "" : " ";
            synopsis += part;
        }
    }
    return synopsis;
}

}  // namespace vemro
