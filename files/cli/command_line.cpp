#include "files/cli/command_line.h"

#include <span>

#include "files/cli/build_command.h"
#include "files/cli/command_context.h"
#include "files/cli/command_list.h"
#include "files/cli/export_command.h"
#include "files/cli/program_version.h"

namespace vemro {

namespace {

constexpr Program kWindowProgram{"vemro-font-builder", true};
constexpr Program kCommandLineProgram{"vemro-font-builder-cli", false};

// The commands of either program; nothing when the arguments ask for the window.
std::optional<int> runCommands(const Program& program, const std::vector<std::string>& args,
                               FontRenderer& renderer, std::ostream& out, std::ostream& err) {
    const CommandContext context{program, renderer, out, err};
    const bool command = !args.empty() && (args[0] == "export" || args[0] == "build");
    if (!command && (args.empty() || (args.size() == 1 && !args[0].starts_with("-")))) {
        if (program.window) {
            return std::nullopt;
        }
        return context.usageError(args.empty() ? "a command is needed"
                                               : "this program has no window; open a project "
                                                 "with vemro-font-builder, or export it with "
                                                 "export or --export");
    }
    const std::string& name = args[0];
    const std::span<const std::string> rest = std::span<const std::string>(args).subspan(1);
    const auto expectNoArguments = [&]() -> std::optional<int> {
        if (!rest.empty()) {
            return context.usageError(name + " takes no arguments");
        }
        return std::nullopt;
    };

    if (name == "--help") {
        if (const std::optional<int> wrong = expectNoArguments()) {
            return wrong;
        }
        printUsage(program, out, true);
        return 0;
    }
    if (name == "--version") {
        if (const std::optional<int> wrong = expectNoArguments()) {
            return wrong;
        }
        out << program.name << " " << kProgramVersion << "\n";
        return 0;
    }
    if (name == "--list-faces") {
        if (const std::optional<int> wrong = expectNoArguments()) {
            return wrong;
        }
        for (const std::string& face : renderer.faceNames()) {
            out << face << "\n";
        }
        return 0;
    }
    if (name == "--export") {
        return runExportFlag(context, rest);
    }
    if (name == "export") {
        return runExportCommand(context, rest);
    }
    if (name == "build") {
        return runBuildCommand(context, rest);
    }
    if (name.starts_with("-")) {
        return context.usageError("unknown option \"" + name + "\"");
    }
    return context.usageError("too many arguments");
}

}  // namespace

std::optional<int> runCommandLine(const std::vector<std::string>& args, FontRenderer& renderer,
                                  std::ostream& out, std::ostream& err) {
    return runCommands(kWindowProgram, args, renderer, out, err);
}

int runCommandLineWithoutWindow(const std::vector<std::string>& args, FontRenderer& renderer,
                                std::ostream& out, std::ostream& err) {
    // Without a window every argument list is a command or a usage error.
    return runCommands(kCommandLineProgram, args, renderer, out, err).value();
}

}  // namespace vemro
