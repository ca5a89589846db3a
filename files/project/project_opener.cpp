#include "files/project/project_opener.h"

#include <algorithm>
#include <span>

#include "engine/project/setting_choices.h"
#include "engine/text/windows1252.h"
#include "files/io/regular_file.h"
#include "files/project/file_kind.h"
#include "files/project/font_file_path.h"
#include "files/project/project_extension.h"

namespace vemro {

namespace {

// A spin takes its position as the low 16 bits of a value, read as a signed number, and keeps
// it within its range.
std::int32_t throughSpin(std::int32_t stored, std::int32_t low, std::int32_t high) {
    const auto position =
        static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(stored)));
    return std::clamp<std::int32_t>(position, low, high);
}

// The value as a warning names it: its caption and number when a choice carries it.
std::string describe(std::span<const SettingChoice> choices, std::int32_t value) {
    if (const std::optional<SettingChoice> choice = findChoice(choices, value)) {
        return std::string("\"") + choice->label + "\" (" + std::to_string(value) + ")";
    }
    return std::to_string(value);
}

// The stored value when a choice offers it; otherwise the fallback and a warning.
std::int32_t matchChoice(std::span<const SettingChoice> choices, const char* what,
                         std::int32_t stored, std::int32_t fallback,
                         std::vector<std::string>& warnings) {
    if (findChoice(choices, stored)) {
        return stored;
    }
    warnings.push_back("the stored " + std::string(what) + " " + std::to_string(stored) +
                       " matches no entry; using " + describe(choices, fallback));
    return fallback;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

}  // namespace

OpenedProject applyProjectFile(const ProjectFile& file, const std::vector<std::string>& faces,
                               const Project& fallback, const std::string& projectPath) {
    OpenedProject opened;
    Document& document = opened.document;
    const ProjectExtension* extension = file.extension ? &*file.extension : nullptr;
    // The extension's values as they are; then the header's, brought into the spins' ranges.
    if (extension != nullptr) {
        document = *extension;
    } else {
        document.project.textureSize = AtlasSize{file.textureWidth, file.textureHeight};
        for (const ProjectGlyph& stored : file.glyphs) {
            document.project.glyphs.append(Glyph{windows1252ToUnicode(stored.code),
                                                 stored.charBorderLeft, stored.charBorderRight});
        }
    }
    Project& project = document.project;
    project.fontBorders.left = throughSpin(file.borderLeft, FontBorders::kMin, FontBorders::kMax);
    project.fontBorders.top = throughSpin(file.borderTop, FontBorders::kMin, FontBorders::kMax);
    project.fontBorders.right = throughSpin(file.borderRight, FontBorders::kMin, FontBorders::kMax);
    project.fontBorders.bottom =
        throughSpin(file.borderBottom, FontBorders::kMin, FontBorders::kMax);

    FontSettings& font = project.font;
    const FontSettings& fallbackFont = fallback.font;
    font.size = throughSpin(file.size, FontSettings::kMinSize, FontSettings::kMaxSize);
    // A weight the header cannot hold is the extension's; the header then holds its stand-in.
    if (extension != nullptr && !findChoice(kWeightChoices, extension->project.font.weight)) {
        font.weight = extension->project.font.weight;
    } else {
        font.weight = matchChoice(kWeightChoices, "weight", file.weight, fallbackFont.weight,
                                  opened.warnings);
    }
    font.quality = matchChoice(kQualityChoices, "quality", file.quality, fallbackFont.quality,
                               opened.warnings);
    font.factor = matchChoice(kFactorChoices, "anti-aliasing factor", file.factor,
                              fallbackFont.factor, opened.warnings);
    font.italic = file.italic != 0;

    // The installed face the stored name matches, else the fallback's.
    const auto face = std::find_if(faces.begin(), faces.end(), [&file](const std::string& name) {
        return equalIgnoringAsciiCase(name, file.faceName);
    });
    const std::string& installedFace = face != faces.end() ? *face : fallbackFont.faceName;
    if (!font.fontFile.empty()) {
        font.fontFile = resolveFontFilePath(font.fontFile, projectPath);
        if (const std::optional<std::string> problem = regularFileProblem(font.fontFile)) {
            font.faceName = installedFace;
            opened.warnings.push_back("the stored font file \"" + font.fontFile +
                                      "\" cannot be opened (" + *problem + "); using \"" +
                                      installedFace + "\"");
        } else {
            font.faceName = file.faceName;
        }
    } else {
        font.faceName = installedFace;
        if (face == faces.end()) {
            opened.warnings.push_back("the stored face \"" + file.faceName +
                                      "\" is not installed; using \"" + installedFace + "\"");
        }
    }
    return opened;
}

Result<OpenedProject> openProject(const std::string& path, const std::vector<std::string>& faces,
                                  const Project& fallback) {
    const Result<ProjectFile> file = readProjectFile(path);
    if (!file) {
        // A file of another kind is named as such; the reader's figures would mean nothing.
        return Result<OpenedProject>::failure(notAProjectMessage(path).value_or(file.message()));
    }
    return applyProjectFile(file.value(), faces, fallback, path);
}

ProjectFile projectFileFor(const Document& document, const std::string& projectPath) {
    const Project& project = document.project;
    ProjectFile file;
    // Older versions read sides up to 512 from the header; a larger side is kept in the extension.
    file.textureWidth = std::min(project.textureSize.width, kMaxProjectHeaderTextureSide);
    file.textureHeight = std::min(project.textureSize.height, kMaxProjectHeaderTextureSide);
    file.borderLeft = project.fontBorders.left;
    file.borderTop = project.fontBorders.top;
    file.borderRight = project.fontBorders.right;
    file.borderBottom = project.fontBorders.bottom;
    file.size = std::clamp(project.font.size, FontSettings::kMinSize, FontSettings::kMaxSize);
    file.weight = fixedWeightFor(project.font.weight);
    file.quality = project.font.quality;
    file.factor = project.font.factor;
    file.italic = project.font.italic ? 1 : 0;
    file.faceName = project.font.faceName;
    if (!needsProjectExtension(document)) {
        file.glyphs = windows1252Records(project.glyphs);
        return file;
    }
    // The extension holds what the header cannot; the header's own values keep their defaults
    // there.
    ProjectExtension& extension = file.extension.emplace(document);
    const FontSettings& font = project.font;
    extension.project.fontBorders = FontBorders{};
    extension.project.font = FontSettings{};
    if (!findChoice(kWeightChoices, font.weight)) {
        extension.project.font.weight = font.weight;
    }
    if (!font.fontFile.empty()) {
        extension.project.font.fontFile =
            projectPath.empty() ? font.fontFile : storedFontFilePath(font.fontFile, projectPath);
        extension.project.font.fontFaceIndex = font.fontFaceIndex;
    }
    file.glyphs = windows1252Records(project.glyphs);
    return file;
}

Status saveProject(const std::string& path, const Document& document) {
    return writeProjectFile(path, projectFileFor(document, path));
}

}  // namespace vemro
