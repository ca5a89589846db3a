#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/project/atlas_size.h"
#include "engine/project/font_settings.h"
#include "engine/project/project.h"

namespace vemro::bench {

// The two character sets the benchmarks draw: the full Windows-1252 charset (codes 32..255) of
// the installed face DejaVu Sans, and 3,000 characters of Latin, kana and CJK ideographs from
// the font file of Debian's fonts-droid-fallback, used as File > Use Font File uses it.
enum class BenchSet { fullCharset, largeSet };

inline constexpr const char* kBenchFace = "DejaVu Sans";
inline constexpr const char* kLargeSetFace = "Droid Sans Fallback";
inline constexpr const char* kLargeSetFontFile =
    "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf";
inline constexpr std::size_t kLargeSetSize = 3000;

// The targets for a rebuild after a font change on every core, as a multiple of the
// single-threaded FreeType floor: at most a little above it, and where thousands of characters
// are drawn, well below it, as the cores share the drawing.
inline constexpr double kFontChangeTarget = 1.3;
inline constexpr double kAllCoresDrawingTarget = 0.7;

// One setting of the window the benchmarks measure.
struct BenchScenario {
    const char* label;
    std::int32_t size;    // points
    std::int32_t factor;  // supersampling: 1 is "(none)", 4 is "4x4"
    AtlasSize texture;
    BenchSet set;
    bool keepFontTarget;  // whether the target for a rebuild keeping the font covers it
    // The most a rebuild after a font change on every core may take, times the floor.
    double fontChangeTarget = kFontChangeTarget;
};

inline constexpr std::array<BenchScenario, 6> kScenarios{{
    {"size 11, (none), 256 x 256", 11, 1, {256, 256}, BenchSet::fullCharset, true},
    {"size 32, 4x4, 512 x 512", 32, 4, {512, 512}, BenchSet::fullCharset, true},
    {"size 100, 4x4, 512 x 512", 100, 4, {512, 512}, BenchSet::fullCharset, false},
    {"size 16, (none), 512 x 512", 16, 1, {512, 512}, BenchSet::largeSet, true},
    {"size 32, 4x4, 512 x 512", 32, 4, {512, 512}, BenchSet::largeSet, true},
    {"size 32, 4x4, 2048 x 2048",
     32,
     4,
     {2048, 2048},
     BenchSet::largeSet,
     true,
     kAllCoresDrawingTarget},
}};

// The set's characters in the order they are added: codes 32..255 through Windows-1252; or
// U+0020..U+007E, Hiragana U+3041..U+3096, Katakana U+30A1..U+30FA and then the ideographs from
// U+4E00 on that the font file has, up to kLargeSetSize characters (empty when the file cannot
// be read).
const std::vector<char32_t>& benchCharacters(BenchSet set);

// The font file FreeType opens for the set: the file fontconfig gives for DejaVu Sans, or the
// fallback font's file; empty when there is none.
std::string benchFontFile(BenchSet set);

// The scenario as a project: its font and texture, no borders, the set's characters.
Project scenarioProject(const BenchScenario& scenario);

}  // namespace vemro::bench
