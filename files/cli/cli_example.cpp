#include "files/cli/cli_example.h"

#include <array>

namespace vemro {

namespace {

constexpr std::array<CliExample, 3> kExamples{{
    {"--export game.fnt out/game", "write the atlas of game.fnt in the format the project chose"},
    {"--export game.fnt out/ui --format bmfont-text --image png8 --chars-from strings.txt",
     "BMFont text with 8-bit PNG pages, adding every character of the game's strings"},
    {"--export game.fnt out/title --font-file Title.otf --sdf 8 --fit",
     "a distance field of a font file's face on the smallest texture that holds it"},
}};

}  // namespace

std::span<const CliExample> cliExamples() {
    return kExamples;
}

}  // namespace vemro
