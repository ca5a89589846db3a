#include "bench/bench_scenarios.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>

#include "engine/text/windows1252.h"

namespace vemro::bench {

namespace {

// The file fontconfig gives for the face name, or an empty string.
std::string fontconfigFile(const char* face) {
    std::string path;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) {
        return path;
    }
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(face));
    if (pattern != nullptr) {
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(config, pattern, &result);
        FcChar8* file = nullptr;
        if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            path = reinterpret_cast<const char*>(file);
        }
        if (match != nullptr) {
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
    }
    FcConfigDestroy(config);
    return path;
}

std::vector<char32_t> fullCharset() {
    std::vector<char32_t> codes;
    for (int code = 32; code <= 255; ++code) {
        codes.push_back(windows1252ToUnicode(static_cast<std::uint8_t>(code)));
    }
    return codes;
}

std::vector<char32_t> largeSet() {
    std::vector<char32_t> codes;
    const auto addRange = [&codes](char32_t first, char32_t last) {
        for (char32_t code = first; code <= last; ++code) {
            codes.push_back(code);
        }
    };
    addRange(0x20, 0x7E);
    addRange(0x3041, 0x3096);
    addRange(0x30A1, 0x30FA);

    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return {};
    }
    const std::unique_ptr<FT_LibraryRec_, decltype(&FT_Done_FreeType)> libraryOwner(
        library, &FT_Done_FreeType);
    FT_Face face = nullptr;
    if (FT_New_Face(library, kLargeSetFontFile, 0, &face) != 0) {
        return {};
    }
    for (char32_t code = 0x4E00; code <= 0x9FFF && codes.size() < kLargeSetSize; ++code) {
        if (FT_Get_Char_Index(face, code) != 0) {
            codes.push_back(code);
        }
    }
    FT_Done_Face(face);
    return codes;
}

}  // namespace

const std::vector<char32_t>& benchCharacters(BenchSet set) {
    static const std::vector<char32_t> full = fullCharset();
    static const std::vector<char32_t> large = largeSet();
    return set == BenchSet::fullCharset ? full : large;
}

std::string benchFontFile(BenchSet set) {
    return set == BenchSet::fullCharset ? fontconfigFile(kBenchFace)
                                        : std::string(kLargeSetFontFile);
}

Project scenarioProject(const BenchScenario& scenario) {
    Project project;
    project.textureSize = scenario.texture;
    FontSettings& font = project.font;
    font.size = scenario.size;
    font.factor = scenario.factor;
    font.weight = FontSettings::kWeightNormal;
    font.quality = FontSettings::kQualityAntialiased;
    font.italic = false;
    if (scenario.set == BenchSet::fullCharset) {
        font.faceName = kBenchFace;
    } else {
        font.faceName = kLargeSetFace;
        font.fontFile = kLargeSetFontFile;
        font.fontFaceIndex = 0;
    }
    for (const char32_t code : benchCharacters(scenario.set)) {
        project.glyphs.addCharacter(code);
    }
    return project;
}

}  // namespace vemro::bench
