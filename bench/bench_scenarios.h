#pragma once

#include <array>
#include <cstdint>

#include "engine/atlas_size.h"
#include "engine/font_settings.h"
#include "engine/project.h"
#include "engine/windows1252.h"

namespace vemro::bench {

// The face every rebuild benchmark draws with, and the characters: the full charset.
inline constexpr const char* kBenchFace = "DejaVu Sans";
inline constexpr int kFirstCode = 32;
inline constexpr int kLastCode = 255;

// One setting of the window the benchmarks measure.
struct BenchScenario {
    const char* label;
    std::int32_t size;    // points
    std::int32_t factor;  // supersampling: 1 is "(none)", 4 is "4x4"
    AtlasSize texture;
};

inline constexpr std::array<BenchScenario, 3> kScenarios{{
    {"size 11, (none), 256 x 256", 11, 1, {256, 256}},
    {"size 32, 4x4, 512 x 512", 32, 4, {512, 512}},
    {"size 100, 4x4, 512 x 512", 100, 4, {512, 512}},
}};

inline FontSettings scenarioSettings(const BenchScenario& scenario) {
    FontSettings settings;
    settings.faceName = kBenchFace;
    settings.size = scenario.size;
    settings.factor = scenario.factor;
    settings.weight = FontSettings::kWeightNormal;
    settings.quality = FontSettings::kQualityAntialiased;
    settings.italic = false;
    return settings;
}

// Adds the characters of the Windows-1252 codes kFirstCode..kLastCode in code order.
inline void addFullCharset(GlyphList& glyphs) {
    for (int code = kFirstCode; code <= kLastCode; ++code) {
        glyphs.addCharacter(windows1252ToUnicode(static_cast<std::uint8_t>(code)));
    }
}

// The scenario as a project: its font and texture, no borders, the full charset.
inline Project scenarioProject(const BenchScenario& scenario) {
    Project project;
    project.textureSize = scenario.texture;
    project.font = scenarioSettings(scenario);
    addFullCharset(project.glyphs);
    return project;
}

}  // namespace vemro::bench
