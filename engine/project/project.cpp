#include "engine/project/project.h"

#include <algorithm>

#include "engine/project/atlas_kind.h"

namespace vemro {

Project startupProject(const std::string& faceName) {
    // The defaults of the settings' own members are the start-up choices.
    Project project;
    project.font.faceName = faceName;
    return project;
}

std::int32_t pixelHeightFor(std::int32_t size, std::int32_t factor) {
    const std::int64_t points =
        std::int64_t{std::clamp(size, FontSettings::kMinSize, FontSettings::kMaxSize)} *
        std::clamp(factor, FontSettings::kMinFactor, FontSettings::kMaxFactor);
    // points x 96 / 72, rounded to nearest with halves away from zero (points is positive).
    return static_cast<std::int32_t>((points * 96 + 36) / 72);
}

std::int32_t drawingFactor(const Project& project) {
    if (atlasEncodingFor(project.effects).isField()) {
        return 1;
    }
    return std::clamp(project.font.factor, FontSettings::kMinFactor, FontSettings::kMaxFactor);
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
    if (const AtlasEncoding encoding = atlasEncodingFor(usableEffects(project.effects));
        encoding.isField()) {
        request.distanceField = true;
        request.spread = encoding.spread;
    }
    return request;
}

}  // namespace vemro
