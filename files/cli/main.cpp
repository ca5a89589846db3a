#include <iostream>
#include <string>
#include <vector>

#include "engine/font/freetype_font_renderer.h"
#include "files/cli/command_line.h"

// vemro-font-builder-cli: the headless commands of vemro-font-builder without the window, for
// build machines without Qt or a display.
int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    vemro::FreetypeFontRenderer renderer;
    return vemro::runCommandLineWithoutWindow(args, renderer, std::cout, std::cerr);
}
