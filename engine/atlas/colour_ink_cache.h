#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "engine/atlas/glyph_cache.h"
#include "engine/atlas/rebuild_control.h"
#include "engine/project/effect_settings.h"
#include "engine/raster/colour_ink.h"

namespace vemro {

// The colour inks of the characters a rebuild draws with effects, composed once for a font,
// factor and set of effects, so that a rebuild that only moves cells copies them.
class ColourInkCache {
public:
    // Composes the colour ink of each character that has none yet for these effects, on up to
    // `threads` threads of the shared pool. Every character must have its ink in the glyph cache
    // at the factor, and its bordered ink for the outline when the effects have one. A change of
    // font (glyph cache generation), factor or effects forgets every ink first. Once the
    // control (if any) is cancelled no ink is begun; the inks composed so far are kept.
    void prepare(const std::vector<char32_t>& codes, const GlyphCache& glyphs,
                 const EffectSettings& effects, std::int32_t factor, int threads,
                 const RebuildControl* control = nullptr);

    // The colour ink of a prepared character.
    const ColourInk& ink(char32_t code) const { return inks_.at(code); }

private:
    struct Key {
        std::uint64_t fontGeneration = 0;
        std::int32_t factor = 0;
        EffectSettings effects;

        friend bool operator==(const Key&, const Key&) = default;
    };

    std::optional<Key> key_;
    std::unordered_map<char32_t, ColourInk> inks_;
};

}  // namespace vemro
