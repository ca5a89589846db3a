#include "files/export_options.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "files/character_file.h"
#include "files/font_file_path.h"
#include "files/project_file.h"
#include "files/regular_file.h"

namespace vemro {

namespace {

// --chars-from FILE: the file's characters join the project's list after the ones it has; a
// character already there keeps its place and borders.
Status addCharactersFrom(const std::string& argument, Project& project, FontRenderer&) {
    const Result<std::vector<char32_t>> characters = readCharacterFile(argument);
    if (!characters) {
        return Status::failure(characters.message());
    }
    std::size_t total = project.glyphs.size();
    for (const char32_t code : characters.value()) {
        total += project.glyphs.contains(code) ? 0 : 1;
    }
    if (total > static_cast<std::size_t>(kMaxProjectCharacters)) {
        return Status::failure("with the characters of \"" + argument +
                               "\" the project would hold " + std::to_string(total) +
                               " characters, above the limit of " +
                               std::to_string(kMaxProjectCharacters));
    }
    for (const char32_t code : characters.value()) {
        project.glyphs.addCharacter(code);
    }
    return Status::success();
}

// --font-file PATH: the first face of the file instead of the project's face; the face name
// becomes the file's family, which a rebuild falls back on should the file go away.
Status useFontFile(const std::string& argument, Project& project, FontRenderer& renderer) {
    const std::string path = resolveFontFilePath(argument, std::string());
    // A named pipe or a device would block or never end when read as a font; nothing reads it.
    if (const std::optional<std::string> problem = regularFileProblem(path);
        problem == "it is not a regular file") {
        return Status::failure("the font file \"" + path + "\" could not be opened: " + *problem);
    }
    const Result<std::vector<FontFileFace>> faces = renderer.inspectFontFile(path);
    if (!faces) {
        return Status::failure(faces.message());
    }
    const auto first = std::find_if(faces->begin(), faces->end(),
                                    [](const FontFileFace& face) { return face.index == 0; });
    if (first == faces->end()) {
        return Status::failure("the font file \"" + path + "\" holds no face");
    }
    project.font.fontFile = path;
    project.font.fontFaceIndex = 0;
    project.font.faceName = first->familyName;
    return Status::success();
}

// --format tfd|bmfont-text|bmfont-xml|bmfont-binary|json.
Status setFormat(const std::string& argument, Project& project, FontRenderer&) {
    const std::optional<DescriptorFormat> format = descriptorFormatNamed(argument);
    if (!format) {
        return Status::failure("\"" + argument +
                               "\" is no format: give tfd, bmfont-text, bmfont-xml, bmfont-binary "
                               "or json");
    }
    project.exportSettings.format = *format;
    return Status::success();
}

// --image png|png8|tga.
Status setImage(const std::string& argument, Project& project, FontRenderer&) {
    const std::optional<PageImage> image = pageImageNamed(argument);
    if (!image) {
        return Status::failure("\"" + argument + "\" is no page image: give png, png8 or tga");
    }
    project.exportSettings.image = *image;
    return Status::success();
}

Status leaveOutKerning(const std::string&, Project& project, FontRenderer&) {
    project.exportSettings.kerning = false;
    return Status::success();
}

constexpr std::array<ExportOption, 5> kExportOptions{{
    {"--chars-from", "FILE", "add the characters of a UTF-8 text file for this export",
     addCharactersFrom, ExportOptionFailure::input},
    {"--font-file", "PATH", "draw with the first face of a font file instead of the project's face",
     useFontFile, ExportOptionFailure::input},
    {"--format", "tfd|bmfont-text|bmfont-xml|bmfont-binary|json",
     "the descriptor to write (default: the project's choice, else tfd)", setFormat,
     ExportOptionFailure::usage},
    {"--image", "png|png8|tga",
     "the page images of the BMFont and JSON formats: 32-bit PNG, 8-bit PNG or TGA", setImage,
     ExportOptionFailure::usage},
    {"--no-kerning", "", "leave the kerning pairs out of the descriptor", leaveOutKerning,
     ExportOptionFailure::usage},
}};

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

std::optional<ExportOverrideFailure> applyExportOverrides(
    const std::vector<ExportOverride>& overrides, Project& project, FontRenderer& renderer) {
    for (const ExportOverride& given : overrides) {
        const Status applied = given.option->apply(given.argument, project, renderer);
        if (!applied) {
            return ExportOverrideFailure{std::string(given.option->name) + ": " + applied.message(),
                                         given.option->failure};
        }
    }
    return std::nullopt;
}

}  // namespace vemro
