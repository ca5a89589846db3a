#include "files/cli/build_stamp.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "files/cli/fallback_option.h"
#include "files/cli/font_options.h"
#include "files/cli/program_version.h"
#include "files/export/export_path.h"
#include "files/project/font_file_path.h"

namespace vemro {

namespace {

constexpr const char* kFileLine = "file ";

std::string absolute(const std::string& path) {
    return resolveFontFilePath(path, std::string());
}

}  // namespace

Result<StampInputs> stampInputs(const BuildEntry& entry, const Project& project,
                                FontRenderer& renderer, InputDigests& digests) {
    StampInputs inputs;
    std::string problem;
    // The digest of an input file, which also joins the depfile.
    const auto digestOf = [&](const std::string& path) {
        const Result<std::string> digest = digests.digest(path);
        if (!digest && problem.empty()) {
            problem = digest.message();
        }
        inputs.files.push_back(absolute(path));
        return digest ? digest.value() : std::string();
    };
    inputs.text = std::string("vemro-font-builder ") + kProgramVersion + "\n";
    if (entry.project) {
        inputs.text += "project " + digestOf(*entry.project) + "\n";
    }
    for (const BuildSetting& setting : entry.settings) {
        std::string argument = setting.argument;
        const ArgumentKind kind = setting.option->argument;
        if (kind == ArgumentKind::file ||
            (kind == ArgumentKind::faceOrFile && namesFontFile(argument))) {
            const FontFileArgument file = splitFontFileArgument(argument);
            const bool indexed =
                (setting.option->apply == useFontFile || kind == ArgumentKind::faceOrFile) &&
                file.index;
            argument = indexed ? digestOf(file.path) + "#" + std::to_string(*file.index)
                               : digestOf(argument);
        } else if (kind == ArgumentKind::faceOrFile) {
            // A typeface's name: the bytes of the file it resolves to, so that an updated font
            // package makes the output again.
            FontRequest request = fontRequestFor(project);
            request.faceName = argument;
            request.fontFile.clear();
            request.fallbacks.clear();
            if (const std::optional<FontSource> source = renderer.fontSourceFor(request)) {
                argument += " " + digestOf(source->path) + " " + std::to_string(source->faceIndex);
            }
        }
        inputs.text +=
            std::string(setting.option->name) + (argument.empty() ? "" : " ") + argument + "\n";
    }
    const std::optional<FontSource> font = renderer.fontSourceFor(fontRequestFor(project));
    if (!font) {
        return Result<StampInputs>::failure("no font file matches \"" + project.font.faceName +
                                            "\"");
    }
    inputs.text += "font " + digestOf(font->path) + " " + std::to_string(font->faceIndex) + "\n";
    if (!problem.empty()) {
        return Result<StampInputs>::failure(problem);
    }
    return inputs;
}

std::string stampPath(const std::string& outputPath) {
    return exportPath(outputPath, ".stamp");
}

std::string stampText(const StampInputs& inputs, const std::vector<std::string>& written) {
    std::string text = inputs.text;
    for (const std::string& file : written) {
        text += kFileLine + std::filesystem::path(file).filename().string() + "\n";
    }
    return text;
}

bool stampIsCurrent(const std::string& path, const StampInputs& inputs) {
    std::ifstream in(path, std::ios::binary);
    const std::string stamp((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        return false;
    }
    if (!stamp.starts_with(inputs.text)) {
        return false;
    }
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::istringstream files(stamp.substr(inputs.text.size()));
    bool any = false;
    for (std::string line; std::getline(files, line);) {
        std::error_code error;
        if (!line.starts_with(kFileLine) ||
            !std::filesystem::is_regular_file(folder / line.substr(5), error)) {
            return false;
        }
        any = true;
    }
    return any;
}

}  // namespace vemro
