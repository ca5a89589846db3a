#include "files/cli/export_options.h"

#include <algorithm>
#include <array>
#include <sstream>

#include "engine/text/unicode_blocks.h"
#include "files/cli/character_options.h"
#include "files/export/exporter.h"

namespace vemro {

namespace {

std::vector<std::string> spaceSeparated(const char* words) {
    std::vector<std::string> list;
    std::istringstream stream(words);
    for (std::string word; stream >> word;) {
        list.push_back(word);
    }
    return list;
}

}  // namespace

const ExportOption* findExportOption(std::span<const ExportOption> table, const std::string& name) {
    const auto found = std::find_if(table.begin(), table.end(), [&name](const ExportOption& o) {
        return name == o.name || (*o.shortName != '\0' && name == o.shortName);
    });
    return found == table.end() ? nullptr : &*found;
}

const ExportOption* findBuildFileKey(std::span<const ExportOption> table, const std::string& key) {
    const ExportOption* option = findExportOption(table, "--" + key);
    return option != nullptr && (option->where & kBuildFile) != 0 ? option : nullptr;
}

std::vector<std::string> argumentWords(const ExportOption& option) {
    std::vector<std::string> words;
    switch (option.argument) {
        case ArgumentKind::choice:
            return spaceSeparated(option.choices);
        case ArgumentKind::format:
            for (const Exporter* exporter : registeredExporters()) {
                words.push_back(exporter->name());
            }
            return words;
        case ArgumentKind::charset:
            words.push_back(kClassicCharset);
            for (const UnicodeBlock& block : unicodeBlocks()) {
                words.push_back(block.name);
            }
            return words;
        default:
            return words;
    }
}

namespace {

// The option at args[i] with its argument, if it takes one (i then moves past it); fails on an
// option the command does not take or a missing argument.
Result<ExportOverride> takeOption(std::span<const std::string> args, std::size_t& i,
                                  std::span<const ExportOption> table, unsigned command) {
    const std::string& arg = args[i];
    const ExportOption* option = findExportOption(table, arg);
    if (option == nullptr || (option->where & command) == 0) {
        return Result<ExportOverride>::failure("unknown option \"" + arg + "\"");
    }
    ExportOverride given{option, std::string()};
    if (!option->placeholder.empty()) {
        if (i + 1 == args.size()) {
            return Result<ExportOverride>::failure("\"" + arg + "\" needs an argument (" +
                                                   option->placeholder + ")");
        }
        given.argument = args[++i];
    }
    return given;
}

}  // namespace

Result<ParsedArguments> parseOptions(std::span<const std::string> args,
                                     std::span<const ExportOption> table, unsigned command) {
    using Parsed = Result<ParsedArguments>;
    ParsedArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            parsed.operands.insert(parsed.operands.end(), args.begin() + i + 1, args.end());
            break;
        }
        if (!arg.starts_with("-") || arg == "-") {
            parsed.operands.push_back(arg);
            continue;
        }
        Result<ExportOverride> given = takeOption(args, i, table, command);
        if (!given) {
            return Parsed::failure(given.message());
        }
        parsed.options.push_back(std::move(given.value()));
    }
    return parsed;
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
        Result<ExportOverride> given = takeOption(args, i, table, kExportFlag);
        if (!given) {
            return Parsed::failure(given.message());
        }
        overrides.push_back(std::move(given.value()));
    }
    return overrides;
}

std::optional<ExportOverrideFailure> applyExportOverrides(
    const std::vector<ExportOverride>& overrides, Document& document, FontRenderer& renderer) {
    for (const ExportOverride& given : overrides) {
        if (given.option->apply == nullptr) {
            continue;
        }
        const Status applied = given.option->apply(given.argument, document, renderer);
        if (!applied) {
            return ExportOverrideFailure{std::string(given.option->name) + ": " + applied.message(),
                                         given.option->failure};
        }
    }
    return std::nullopt;
}

}  // namespace vemro
