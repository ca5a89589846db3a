#include "files/project/project_opener.h"

#include <algorithm>
#include <span>

#include "engine/project/setting_choices.h"
#include "engine/text/windows1252.h"
#include "files/io/regular_file.h"
#include "files/project/file_kind.h"
#include "files/project/font_file_path.h"

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
    Project& project = document.project;
    project.textureSize = AtlasSize{file.textureWidth, file.textureHeight};
    project.fontBorders.left = throughSpin(file.borderLeft, FontBorders::kMin, FontBorders::kMax);
    project.fontBorders.top = throughSpin(file.borderTop, FontBorders::kMin, FontBorders::kMax);
    project.fontBorders.right = throughSpin(file.borderRight, FontBorders::kMin, FontBorders::kMax);
    project.fontBorders.bottom =
        throughSpin(file.borderBottom, FontBorders::kMin, FontBorders::kMax);

    FontSettings& font = project.font;
    const FontSettings& fallbackFont = fallback.font;
    font.size = throughSpin(file.size, FontSettings::kMinSize, FontSettings::kMaxSize);
    font.weight =
        matchChoice(kWeightChoices, "weight", file.weight, fallbackFont.weight, opened.warnings);
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

    const ProjectExtension* extension = file.extension ? &*file.extension : nullptr;
    if (extension != nullptr && !extension->fontFile.empty()) {
        font.fontFile = resolveFontFilePath(extension->fontFile, projectPath);
        font.fontFaceIndex = extension->fontFaceIndex;
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

    if (extension != nullptr && extension->textureSize) {
        project.textureSize = *extension->textureSize;
    }
    if (extension != nullptr && extension->packing) {
        project.packing = *extension->packing;
    }
    if (extension != nullptr && extension->exportSection) {
        document.exportSettings = extension->exportSection->settings;
        project.kerning = extension->exportSection->kerning;
    }
    if (extension != nullptr && extension->sampleText) {
        document.sampleText = *extension->sampleText;
    }
    if (extension != nullptr && extension->effects) {
        project.effects = *extension->effects;
    }

    if (extension != nullptr) {
        for (const ProjectCharacter& stored : extension->characters) {
            project.glyphs.append(
                Glyph{stored.code, stored.charBorderLeft, stored.charBorderRight});
        }
    } else {
        for (const ProjectGlyph& stored : file.glyphs) {
            project.glyphs.append(Glyph{windows1252ToUnicode(stored.code), stored.charBorderLeft,
                                        stored.charBorderRight});
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
    const bool largeTexture = project.textureSize.width > kMaxProjectHeaderTextureSide ||
                              project.textureSize.height > kMaxProjectHeaderTextureSide;
    const bool otherPacking = !(project.packing == PackingSettings{});
    file.borderLeft = project.fontBorders.left;
    file.borderTop = project.fontBorders.top;
    file.borderRight = project.fontBorders.right;
    file.borderBottom = project.fontBorders.bottom;
    file.size = std::clamp(project.font.size, FontSettings::kMinSize, FontSettings::kMaxSize);
    file.weight = project.font.weight;
    file.quality = project.font.quality;
    file.factor = project.font.factor;
    file.italic = project.font.italic ? 1 : 0;
    file.faceName = project.font.faceName;
    const FontSettings& font = project.font;
    const ExportSection exportSection{document.exportSettings, project.kerning};
    const bool otherExport = !(exportSection == ExportSection{});
    const bool otherSampleText = document.sampleText != Document::kDefaultSampleText;
    const bool otherEffects = !(project.effects == EffectSettings{});
    const bool needsExtension =
        !font.fontFile.empty() || largeTexture || otherPacking || otherExport || otherSampleText ||
        otherEffects ||
        std::any_of(project.glyphs.begin(), project.glyphs.end(), [](const Glyph& glyph) {
            return !unicodeToWindows1252(glyph.code).has_value();
        });
    if (!needsExtension) {
        file.glyphs.reserve(project.glyphs.size());
        for (const Glyph& glyph : project.glyphs) {
            file.glyphs.push_back(ProjectGlyph{*unicodeToWindows1252(glyph.code),
                                               glyph.charBorderLeft, glyph.charBorderRight});
        }
        return file;
    }
    ProjectExtension& extension = file.extension.emplace();
    extension.characters.reserve(project.glyphs.size());
    for (const Glyph& glyph : project.glyphs) {
        extension.characters.push_back(
            ProjectCharacter{glyph.code, glyph.charBorderLeft, glyph.charBorderRight});
    }
    file.glyphs = windows1252Records(extension.characters);
    if (largeTexture) {
        extension.textureSize = project.textureSize;
    }
    if (otherPacking) {
        extension.packing = project.packing;
    }
    if (!font.fontFile.empty()) {
        extension.fontFile =
            projectPath.empty() ? font.fontFile : storedFontFilePath(font.fontFile, projectPath);
        extension.fontFaceIndex = font.fontFaceIndex;
    }
    if (otherExport) {
        extension.exportSection = exportSection;
    }
    if (otherSampleText) {
        extension.sampleText = document.sampleText;
    }
    if (otherEffects) {
        extension.effects = project.effects;
    }
    return file;
}

Status saveProject(const std::string& path, const Document& document) {
    return writeProjectFile(path, projectFileFor(document, path));
}

}  // namespace vemro
