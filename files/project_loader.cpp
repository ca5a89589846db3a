#include "files/project_loader.h"

#include <algorithm>
#include <array>
#include <optional>

namespace vemro {

namespace {

struct Entry {
    std::int32_t value;
    const char* label;
};

constexpr std::array<Entry, 3> kWeights{{{FontSettings::kWeightNormal, "Normal"},
                                         {FontSettings::kWeightMedium, "Medium"},
                                         {FontSettings::kWeightBold, "Bold"}}};
constexpr std::array<Entry, 2> kQualities{
    {{FontSettings::kQualityAntialiased, "Antialiased"},
     {FontSettings::kQualityNonAntialiased, "non-Antialiased"}}};
constexpr std::array<Entry, 4> kFactors{{{1, "(none)"}, {2, "2x2"}, {3, "3x3"}, {4, "4x4"}}};

// A spin takes its position as the low 16 bits of a value, read as a signed number, and keeps
// it within its range.
std::int32_t throughSpin(std::int32_t stored, std::int32_t low, std::int32_t high) {
    const auto position =
        static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(stored)));
    return std::clamp<std::int32_t>(position, low, high);
}

template <std::size_t N>
std::string describe(const std::array<Entry, N>& entries, std::int32_t value) {
    for (const Entry& entry : entries) {
        if (entry.value == value) {
            return std::string("\"") + entry.label + "\" (" + std::to_string(value) + ")";
        }
    }
    return std::to_string(value);
}

// The stored value when an entry offers it; otherwise the fallback and a warning.
template <std::size_t N>
std::int32_t matchEntry(const std::array<Entry, N>& entries, const char* what, std::int32_t stored,
                        std::int32_t fallback, std::vector<std::string>& warnings) {
    for (const Entry& entry : entries) {
        if (entry.value == stored) {
            return stored;
        }
    }
    warnings.push_back("the stored " + std::string(what) + " " + std::to_string(stored) +
                       " matches no entry; using " + describe(entries, fallback));
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

LoadedProject loadProject(const ProjectFile& file, const std::vector<std::string>& faces,
                          const FontSettings& fallback) {
    LoadedProject loaded;
    loaded.textureSize = AtlasSize{file.textureWidth, file.textureHeight};
    loaded.fontBorders.left = throughSpin(file.borderLeft, FontBorders::kMin, FontBorders::kMax);
    loaded.fontBorders.top = throughSpin(file.borderTop, FontBorders::kMin, FontBorders::kMax);
    loaded.fontBorders.right = throughSpin(file.borderRight, FontBorders::kMin, FontBorders::kMax);
    loaded.fontBorders.bottom =
        throughSpin(file.borderBottom, FontBorders::kMin, FontBorders::kMax);

    FontSettings& settings = loaded.settings;
    settings.size = throughSpin(file.size, FontSettings::kMinSize, FontSettings::kMaxSize);
    settings.weight = matchEntry(kWeights, "weight", file.weight, fallback.weight, loaded.warnings);
    settings.quality =
        matchEntry(kQualities, "quality", file.quality, fallback.quality, loaded.warnings);
    settings.factor =
        matchEntry(kFactors, "anti-aliasing factor", file.factor, fallback.factor, loaded.warnings);
    settings.italic = file.italic != 0;

    const auto face = std::find_if(faces.begin(), faces.end(), [&file](const std::string& name) {
        return equalIgnoringAsciiCase(name, file.faceName);
    });
    if (face != faces.end()) {
        settings.faceName = *face;
    } else {
        settings.faceName = fallback.faceName;
        loaded.warnings.push_back("the stored face \"" + file.faceName +
                                  "\" is not installed; using \"" + fallback.faceName + "\"");
    }

    for (const ProjectGlyph& stored : file.glyphs) {
        Glyph glyph;
        glyph.code = stored.code;
        glyph.charBorderLeft = stored.charBorderLeft;
        glyph.charBorderRight = stored.charBorderRight;
        loaded.glyphs.append(glyph);
    }
    return loaded;
}

ProjectFile makeProjectFile(const Atlas& atlas, const FontSettings& settings) {
    ProjectFile file;
    file.textureWidth = atlas.textureSize().width;
    file.textureHeight = atlas.textureSize().height;
    const FontBorders borders = atlas.fontBorders();
    file.borderLeft = borders.left;
    file.borderTop = borders.top;
    file.borderRight = borders.right;
    file.borderBottom = borders.bottom;
    file.size = std::clamp(settings.size, FontSettings::kMinSize, FontSettings::kMaxSize);
    file.weight = settings.weight;
    file.quality = settings.quality;
    file.factor = settings.factor;
    file.italic = settings.italic ? 1 : 0;
    file.faceName = settings.faceName;
    file.glyphs.reserve(atlas.glyphs().size());
    for (const Glyph& glyph : atlas.glyphs()) {
        file.glyphs.push_back(
            ProjectGlyph{glyph.code, glyph.charBorderLeft, glyph.charBorderRight});
    }
    return file;
}

}  // namespace vemro
