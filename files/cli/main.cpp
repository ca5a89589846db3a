#include <iostream>
#include <string>
#include <vector>

#include "engine/font/freetype_font_renderer.h"
#include "files/cli/command_line.h"

// The commands of vemro-font-builder without the window, for build machines without Qt or a
// display: vemro-font-builder-cli beside the window program, or vemro-font-builder itself in a
// build without the window. VEMRO_PROGRAM_NAME is the name it is built and installed under.
int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    vemro::FreetypeFontRenderer renderer;
    return vemro::runCommandLineWithoutWindow(args, renderer, std::cout, std::cerr,
                                              VEMRO_PROGRAM_NAME);
}
