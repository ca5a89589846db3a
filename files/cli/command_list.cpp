#include "files/cli/command_list.h"

#include "files/cli/export_options.h"

namespace vemro {

namespace {

constexpr CommandSyntax kCommands[] = {
    {"[PROJECT.fnt]", "open the window, optionally with a font project", 0, true},
    {"export [PROJECT.fnt] -o OUTPUT [OPTIONS]",
     "rebuild the atlas of the project, or of the start-up project (the default typeface at 11\n"
     "points, no characters), with the options applied in order, and write OUTPUT with the\n"
     "extension replaced: by .tga (image) and .tfd (glyph description) in the tfd format, page\n"
     "k >= 1 of several as OUTPUT_k.tga and OUTPUT_k.tfd; by _0.png, _1.png, ... (the pages)\n"
     "and .fnt (BMFont) or .json otherwise",
     kExportCommand, false},
    {"build FILE.toml [OPTIONS]",
     "make every output of a build file whose inputs changed since it was made, several at once",
     kBuildCommand, false},
    {"--export PROJECT.fnt OUTPUT [OPTIONS]",
     "export PROJECT.fnt -o OUTPUT as before: a font that cannot be made is only a warning",
     kExportFlag, false},
    {"--list-faces", "print the typefaces that can be chosen, one per line", 0, false},
    {"--help", "print this help", 0, false},
    {"--version", "print the program's version", 0, false},
};

void printIndented(std::ostream& stream, const char* text, const char* indent) {
    stream << indent;
    for (const char* c = text; *c != '\0'; ++c) {
        stream << *c;
        if (*c == '\n') {
            stream << indent;
        }
    }
    stream << "\n";
}

void printOptions(std::ostream& stream, unsigned command) {
    for (const ExportOption& option : exportOptions()) {
        if ((option.where & command) == 0) {
            continue;
        }
        stream << "  ";
        if (*option.shortName != '\0') {
            stream << option.shortName << ", ";
        }
        stream << option.name;
        if (*option.placeholder != '\0') {
            stream << " " << option.placeholder;
        }
        stream << "\n      " << option.help << "\n";
    }
}

}  // namespace

std::span<const CommandSyntax> commandList() {
    return kCommands;
}

void printUsage(const Program& program, std::ostream& stream, bool full) {
    stream << "Usage:\n";
    for (const CommandSyntax& command : kCommands) {
        if (command.windowOnly && !program.window) {
            continue;
        }
        stream << "  " << program.name << " " << command.synopsis << "\n";
        if (full) {
            printIndented(stream, command.help, "      ");
        }
    }
    if (!full) {
        stream << "Run \"" << program.name << " --help\" for the options.\n";
        return;
    }
    stream
        << "\nOptions of export and --export (a build file takes them as keys, without \"--\"):\n";
    printOptions(stream, kExportCommand | kExportFlag);
    stream << "\nOptions of build:\n";
    printOptions(stream, kBuildCommand);
    stream
        << "\nExit codes: 0 success; 1 a failure in the data (a file or font that cannot be used,\n"
           "an output that cannot be written, with --strict a lacking character or a cut\n"
           "glyph); 2 a usage error.\n";
}

}  // namespace vemro
