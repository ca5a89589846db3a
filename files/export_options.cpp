#include "files/export_options.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vemro {

namespace {

// No value of a project can be overridden yet.
constexpr std::array<ExportOption, 0> kExportOptions{};

}  // namespace

std::span<const ExportOption> exportOptions() {
    return kExportOptions;
}

Result<std::vector<ExportOverride>> parseExportOptions(std::span<const std::string> args,
                                                       std::span<const ExportOption> table) {
    using Parsed = Result<std::vector<ExportOverride>>;
    std::vector<ExportOverride> overrides;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("-")) {
            return Parsed::failure("--export takes a project file and an output path");
        }
        const auto option = std::find_if(table.begin(), table.end(),
                                         [&arg](const ExportOption& o) { return arg == o.name; });
        if (option == table.end()) {
            return Parsed::failure("unknown option \"" + arg + "\"");
        }
        ExportOverride given{&*option, std::string()};
        if (std::strlen(option->placeholder) > 0) {
            if (i + 1 == args.size()) {
                return Parsed::failure("\"" + arg + "\" needs an argument (" + option->placeholder +
                                       ")");
            }
            given.argument = args[++i];
        }
        overrides.push_back(std::move(given));
    }
    return overrides;
}

Status applyExportOverrides(const std::vector<ExportOverride>& overrides, Project& project) {
    for (const ExportOverride& given : overrides) {
        const Status applied = given.option->apply(given.argument, project);
        if (!applied) {
            return Status::failure(std::string(given.option->name) + ": " + applied.message());
        }
    }
    return Status::success();
}

}  // namespace vemro
