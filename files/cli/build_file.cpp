#include "files/cli/build_file.h"

#include <toml++/toml.h>
#include <algorithm>
#include <filesystem>
#include <set>

#include "files/cli/fallback_option.h"
#include "files/export/export_path.h"
#include "files/io/regular_file.h"

namespace vemro {

namespace {

constexpr std::size_t kMaxBuildFileBytes = std::size_t{16} << 20;

// A key of a table and its value, with the line it stands on.
struct Entry {
    std::string key;
    const toml::node* value;
    std::int64_t line;
};

// The keys of a table in the order of their lines, so that the last of two that contradict
// each other counts, as on the command line.
std::vector<Entry> keysInOrder(const toml::table& table) {
    std::vector<Entry> keys;
    for (const auto& [key, value] : table) {
        keys.push_back(Entry{std::string(key.str()), &value, key.source().begin.line});
    }
    std::stable_sort(keys.begin(), keys.end(),
                     [](const Entry& a, const Entry& b) { return a.line < b.line; });
    return keys;
}

std::string resolved(const std::string& path, const std::string& folder) {
    const std::filesystem::path given(path);
    return (given.is_absolute() ? given : std::filesystem::path(folder) / given)
        .lexically_normal()
        .string();
}

// What relative paths are resolved against.
struct Folders {
    std::string inputs;
    std::string outputs;
};

// A string or an integer as an argument; nothing for other values.
std::optional<std::string> scalarText(const toml::node& value) {
    if (const auto* text = value.as_string()) {
        return text->get();
    }
    if (const auto* number = value.as_integer()) {
        return std::to_string(number->get());
    }
    return std::nullopt;
}

// The settings one key gives: the option with each of its arguments, or its opposite for
// `false`. Returns what is wrong with the value instead, as a sentence.
std::optional<std::string> settingsOf(const ExportOption& option, const Entry& entry,
                                      const Folders& folders, std::vector<BuildSetting>& settings) {
    const bool takesArgument = !option.placeholder.empty();
    const std::string what = takesArgument ? std::string("give ") + option.placeholder
                                           : std::string("give true or false");
    std::vector<std::string> arguments;
    const ExportOption* applied = &option;
    if (const auto* flag = entry.value->as_boolean()) {
        if (flag->get() && takesArgument) {
            return what + (*option.opposite != '\0' ? ", or false" : "");
        }
        if (!flag->get()) {
            applied = findExportOption(exportOptions(), option.opposite);
            if (applied == nullptr) {
                return takesArgument ? what : std::string("give true");
            }
        }
        arguments.emplace_back();
    } else if (!takesArgument) {
        return what;
    } else if (const std::optional<std::string> text = scalarText(*entry.value)) {
        arguments.push_back(*text);
    } else if (const auto* list = entry.value->as_array(); list != nullptr && !list->empty()) {
        for (const toml::node& item : *list) {
            const std::optional<std::string> text = scalarText(item);
            if (!text) {
                return what + "; a list may hold strings and whole numbers only";
            }
            arguments.push_back(*text);
        }
        if (!option.repeatable) {
            std::string joined;
            for (const std::string& argument : arguments) {
                joined += (joined.empty() ? "" : ",") + argument;
            }
            arguments = {joined};
        }
    } else {
        return what;
    }
    for (std::string& argument : arguments) {
        if (applied->argument == ArgumentKind::file ||
            (applied->argument == ArgumentKind::faceOrFile && namesFontFile(argument))) {
            argument = resolved(argument, folders.inputs);
        } else if (applied->argument == ArgumentKind::output) {
            argument = resolved(argument, folders.outputs);
        }
        settings.push_back(BuildSetting{applied, argument, entry.line, entry.key});
    }
    return std::nullopt;
}

// The settings of a table; its project and output go to the entry.
void readTable(const toml::table& table, const Folders& folders, bool defaults, BuildEntry& into) {
    for (const Entry& entry : keysInOrder(table)) {
        const ExportOption* option = findBuildFileKey(exportOptions(), entry.key);
        if (option == nullptr) {
            into.problems.push_back({entry.line, "unknown key \"" + entry.key + "\""});
            continue;
        }
        std::vector<BuildSetting> given;
        if (const std::optional<std::string> problem = settingsOf(*option, entry, folders, given)) {
            into.problems.push_back({entry.line, entry.key + ": " + *problem});
            continue;
        }
        if (option->role == OptionRole::output && defaults) {
            into.problems.push_back({entry.line, "output: every [[font]] gives its own"});
        } else if (option->role == OptionRole::output) {
            into.output = *scalarText(*entry.value);
            into.outputPath = given.front().argument;
        } else if (option->role == OptionRole::project) {
            into.project = given.front().argument;
        } else {
            into.settings.insert(into.settings.end(), given.begin(), given.end());
        }
    }
}

// The defaults' settings whose keys the entry does not give, then the entry's own.
void takeDefaults(const BuildEntry& defaults, BuildEntry& entry) {
    std::set<std::string> own;
    for (const BuildSetting& setting : entry.settings) {
        own.insert(setting.key);
    }
    std::vector<BuildSetting> settings;
    for (const BuildSetting& setting : defaults.settings) {
        if (!own.contains(setting.key)) {
            settings.push_back(setting);
        }
    }
    settings.insert(settings.end(), entry.settings.begin(), entry.settings.end());
    entry.settings = std::move(settings);
    if (!entry.project) {
        entry.project = defaults.project;
    }
}

// Outputs whose files would be the same files: the same path up to the extension.
void findSharedOutputs(std::vector<BuildEntry>& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        for (std::size_t j = 0; j < entries.size(); ++j) {
            if (i != j && !entries[i].outputPath.empty() &&
                exportPath(entries[i].outputPath, "") == exportPath(entries[j].outputPath, "")) {
                entries[i].problems.push_back(
                    {entries[i].line, "output: \"" + entries[i].output +
                                          "\" names the same files as the [[font]] at line " +
                                          std::to_string(entries[j].line)});
                break;
            }
        }
    }
}

}  // namespace

Result<BuildFile> parseBuildFile(const std::string& text, const std::string& displayName,
                                 const std::string& folder, const std::string& outputFolder) {
    const Folders folders{folder, outputFolder};
    toml::table root;
    try {
        root = toml::parse(text, displayName);
    } catch (const toml::parse_error& error) {
        const toml::source_position where = error.source().begin;
        return Result<BuildFile>::failure(displayName + ":" + std::to_string(where.line) + ":" +
                                          std::to_string(where.column) + ": " +
                                          std::string(error.description()));
    }
    BuildFile file;
    BuildEntry defaults;
    for (const Entry& entry : keysInOrder(root)) {
        if (entry.key == "defaults" && entry.value->is_table()) {
            readTable(*entry.value->as_table(), folders, true, defaults);
        } else if (entry.key == "font" && entry.value->is_array_of_tables()) {
            for (const toml::node& table : *entry.value->as_array()) {
                BuildEntry output;
                output.line = table.source().begin.line;
                readTable(*table.as_table(), folders, false, output);
                if (output.outputPath.empty()) {
                    output.problems.push_back({output.line, "this [[font]] gives no output"});
                } else if (const std::optional<std::string> problem =
                               exportNameProblem(output.outputPath)) {
                    output.problems.push_back({output.line, "output: " + *problem});
                }
                file.entries.push_back(std::move(output));
            }
        } else {
            file.problems.push_back(
                {entry.line, "unknown key \"" + entry.key +
                                 "\": a build file holds a [defaults] table and [[font]] tables"});
        }
    }
    file.problems.insert(file.problems.end(), defaults.problems.begin(), defaults.problems.end());
    std::stable_sort(file.problems.begin(), file.problems.end(),
                     [](const BuildProblem& a, const BuildProblem& b) { return a.line < b.line; });
    file.defaults = defaults.settings;
    for (BuildEntry& entry : file.entries) {
        takeDefaults(defaults, entry);
    }
    findSharedOutputs(file.entries);
    return file;
}

Result<BuildFile> readBuildFile(const std::string& path,
                                const std::optional<std::string>& outputFolder) {
    std::vector<std::uint8_t> bytes;
    if (const std::optional<std::string> problem =
            readRegularFile(path, kMaxBuildFileBytes + 1, bytes)) {
        return Result<BuildFile>::failure("cannot read the build file \"" + path +
                                          "\": " + *problem);
    }
    if (bytes.size() > kMaxBuildFileBytes) {
        return Result<BuildFile>::failure("the build file \"" + path +
                                          "\" is larger than the limit of 16 MiB");
    }
    std::string folder = std::filesystem::path(path).parent_path().string();
    folder = folder.empty() ? std::string(".") : folder;
    return parseBuildFile(std::string(bytes.begin(), bytes.end()), path, folder,
                          outputFolder.value_or(folder));
}

}  // namespace vemro
