#include "engine/font/freetype/fontconfig_choice.h"

#include <strings.h>

namespace vemro {

FcConfig* FontconfigChoice::config() {
    if (!config_) {
        config_.reset(FcInitLoadConfigAndFonts());
    }
    return config_.get();
}

std::optional<FaceLocation> FontconfigChoice::faceNamed(const std::string& family, int weight,
                                                        bool italic) {
    PatternHandle pattern(FcPatternCreate(), &FcPatternDestroy);
    if (config() == nullptr || !pattern || family.empty()) {
        return std::nullopt;
    }
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(config(), pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const PatternHandle match(FcFontMatch(config(), pattern.get(), &result), &FcPatternDestroy);
    if (!match) {
        return std::nullopt;
    }
    // fontconfig always answers with some face; only one of the family asked for will do.
    bool named = false;
    FcChar8* name = nullptr;
    for (int n = 0; !named && FcPatternGetString(match.get(), FC_FAMILY, n, &name) == FcResultMatch;
         ++n) {
        named = strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0;
    }
    FcChar8* file = nullptr;
    if (!named || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) {
        return std::nullopt;
    }
    FaceLocation location{reinterpret_cast<const char*>(file), 0};
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &location.index);
    return location;
}

std::optional<std::string> FontconfigChoice::familyCovering(
    const std::vector<char32_t>& characters) {
    PatternHandle pattern(FcPatternCreate(), &FcPatternDestroy);
    const std::unique_ptr<FcCharSet, decltype(&FcCharSetDestroy)> wanted(FcCharSetCreate(),
                                                                         &FcCharSetDestroy);
    if (config() == nullptr || !pattern || !wanted || characters.empty()) {
        return std::nullopt;
    }
    for (const char32_t code : characters) {
        FcCharSetAddChar(wanted.get(), code);
    }
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted.get());
    FcConfigSubstitute(config(), pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const FontSetHandle sorted(FcFontSort(config(), pattern.get(), FcFalse, nullptr, &result),
                               &FcFontSetDestroy);
    if (!sorted) {
        return std::nullopt;
    }
    FcChar32 best = 0;
    std::optional<std::string> family;
    for (int i = 0; i < sorted->nfont; ++i) {
        FcCharSet* has = nullptr;
        FcChar8* name = nullptr;
        if (FcPatternGetCharSet(sorted->fonts[i], FC_CHARSET, 0, &has) != FcResultMatch ||
            FcPatternGetString(sorted->fonts[i], FC_FAMILY, 0, &name) != FcResultMatch) {
            continue;
        }
        const FcChar32 count = FcCharSetIntersectCount(has, wanted.get());
        if (count > best) {
            best = count;
            family = reinterpret_cast<const char*>(name);
        }
    }
    return family;
}

}  // namespace vemro
