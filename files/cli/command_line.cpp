#include "files/cli/command_line.h"

#include <span>

#include "files/cli/cli_command.h"
#include "files/cli/command_context.h"

namespace vemro {

namespace {

constexpr Program kWindowProgram{"vemro-font-builder", true};

// The commands of either program; nothing when the arguments ask for the window.
std::optional<int> runCommands(const Program& program, const std::vector<std::string>& args,
                               FontRenderer& renderer, std::ostream& out, std::ostream& err) {
    const CommandContext context{program, renderer, out, err};
    const CliCommand* command = args.empty() ? nullptr : findCliCommand(args[0], program.window);
    if (command == nullptr && (args.empty() || (args.size() == 1 && !args[0].starts_with("-")))) {
        if (program.window) {
            return std::nullopt;
        }
        return context.usageError(args.empty() ? "a command is needed"
                                               : "this program was built without the window; "
                                                 "export the project with export or --export");
    }
    if (command != nullptr) {
        return command->run(context, std::span<const std::string>(args).subspan(1));
    }
    if (args[0].starts_with("-")) {
        return context.usageError("unknown option \"" + args[0] + "\"");
    }
    return context.usageError("too many arguments");
}

}  // namespace

std::optional<int> runCommandLine(const std::vector<std::string>& args, FontRenderer& renderer,
                                  std::ostream& out, std::ostream& err) {
    return runCommands(kWindowProgram, args, renderer, out, err);
}

int runCommandLineWithoutWindow(const std::vector<std::string>& args, FontRenderer& renderer,
                                std::ostream& out, std::ostream& err, const char* programName) {
    // Without a window every argument list is a command or a usage error.
    return runCommands(Program{programName, false}, args, renderer, out, err).value();
}

}  // namespace vemro
