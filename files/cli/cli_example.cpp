#include "files/cli/cli_example.h"

#include <array>

namespace vemro {

namespace {

constexpr std::array<CliExample, 3> kExamples{{
    {"export --font-file Title.otf --px 32 --chars 32-126 --format bmfont-text -o out/title",
     "printable ASCII of a font file, 32 pixels high, as BMFont text: no project needed"},
    {"build fonts.toml --depfile fonts.d",
     "every output of a build file whose inputs changed, and a depfile for Make or Ninja"},
    {"--export game.fnt out/ui --format bmfont-text --image png8 --chars-from strings.txt",
     "a project as BMFont text with 8-bit PNG pages, adding every character of the game's strings"},
}};

}  // namespace

std::span<const CliExample> cliExamples() {
    return kExamples;
}

}  // namespace vemro
