#include "engine/project/project.h"

#include "engine/project/atlas_kind.h"

namespace vemro {

Project startupProject(const std::string& faceName) {
    // The defaults of the settings' own members are the start-up choices.
    Project project;
    project.font.faceName = faceName;
    return project;
}

bool withinRanges(const Project& project) {
    const auto in = [](std::int32_t value, std::int32_t low, std::int32_t high) {
        return value >= low && value <= high;
    };
    const FontBorders& borders = project.fontBorders;
    const FontSettings& font = project.font;
    const PackingSettings& packing = project.packing;
    const EffectSettings& effects = project.effects;
    using B = FontBorders;
    using F = FontSettings;
    using E = EffectSettings;
    return AtlasSize::isValidSide(project.textureSize.width) &&
           AtlasSize::isValidSide(project.textureSize.height) &&
           in(borders.left, B::kMin, B::kMax) && in(borders.top, B::kMin, B::kMax) &&
           in(borders.right, B::kMin, B::kMax) && in(borders.bottom, B::kMin, B::kMax) &&
           in(font.size, F::kMinSize, F::kMaxSize) &&
           in(font.factor, F::kMinFactor, F::kMaxFactor) &&
           (packing.packer == PackerKind::Rows || packing.packer == PackerKind::Tight) &&
           in(packing.spacing, PackingSettings::kMinSpacing, PackingSettings::kMaxSpacing) &&
           in(effects.outlineWidth, E::kMinOutlineWidth, E::kMaxOutlineWidth) &&
           in(effects.shadowX, E::kMinShadowOffset, E::kMaxShadowOffset) &&
           in(effects.shadowY, E::kMinShadowOffset, E::kMaxShadowOffset) &&
           in(effects.shadowBlur, E::kMinShadowBlur, E::kMaxShadowBlur) &&
           in(effects.spread, E::kMinSpread, E::kMaxSpread);
}

std::int32_t pixelHeightFor(std::int32_t size, std::int32_t factor) {
    const std::int64_t points = std::int64_t{size} * factor;
    // points x 96 / 72, rounded to nearest with halves away from zero (points is positive).
    return static_cast<std::int32_t>((points * 96 + 36) / 72);
}

std::int32_t drawingFactor(const Project& project) {
    if (atlasEncodingFor(project.effects).isField()) {
        return 1;
    }
    return project.font.factor;
}

FontRequest fontRequestFor(const Project& project) {
    const FontSettings& settings = project.font;
    FontRequest request;
    request.faceName = settings.faceName;
    request.fontFile = settings.fontFile;
    request.faceIndex = settings.fontFaceIndex;
    request.pixelHeight = pixelHeightFor(settings.size, drawingFactor(project));
    request.weight = settings.weight;
    request.antialiased = settings.quality != FontSettings::kQualityNonAntialiased;
    request.italic = settings.italic;
    request.distanceField = atlasEncodingFor(project.effects).isField();
    request.fallbacks = project.fallbacks;
    return request;
}

}  // namespace vemro
