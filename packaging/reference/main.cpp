#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "files/io/atomic_file.h"
#include "packaging/reference/bash_completion.h"
#include "packaging/reference/man_page.h"

// Makes the man page and the bash completion of vemro-font-builder from the command line's
// tables when the program is built, so that a command or option added there appears in both:
//   vemro-reference man TEMPLATE OUTPUT VERSION [--no-window]
//   vemro-reference bash-completion OUTPUT [--no-window]
// --no-window: for the program built without the window.
namespace {

constexpr const char* kProgramName = "vemro-font-builder";

int fail(const std::string& message) {
    std::cerr << "vemro-reference: " << message << "\n";
    return 1;
}

int write(const std::string& path, const std::string& text) {
    const vemro::Status written = vemro::writeFileAtomically(
        path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    return written ? 0 : fail(written.message());
}

}  // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool window = args.empty() || args.back() != "--no-window";
    if (!window) {
        args.pop_back();
    }
    if (args.size() == 4 && args[0] == "man") {
        std::ifstream in(args[1], std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        if (!in) {
            return fail("cannot read the template \"" + args[1] + "\"");
        }
        const vemro::Result<std::string> page =
            vemro::manPage(text.str(), kProgramName, window, args[3]);
        return page ? write(args[2], page.value()) : fail(args[1] + ": " + page.message());
    }
    if (args.size() == 2 && args[0] == "bash-completion") {
        return write(args[1], vemro::bashCompletion(kProgramName, window));
    }
    return fail(
        "usage: vemro-reference man TEMPLATE OUTPUT VERSION [--no-window] | bash-completion "
        "OUTPUT [--no-window]");
}
