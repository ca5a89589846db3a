#include "engine/atlas/colour_ink_cache.h"

#include "engine/atlas/worker_pool.h"
#include "engine/raster/effect_composer.h"

namespace vemro {

namespace {

// Fewer characters than this are composed on the calling thread alone.
constexpr std::size_t kLeastWorkToShare = 16;

}  // namespace

void ColourInkCache::prepare(const std::vector<char32_t>& codes, const GlyphCache& glyphs,
                             const EffectSettings& effects, std::int32_t factor, int threads,
                             const RebuildControl* control) {
    const Key key{glyphs.fontGeneration(), factor, effects};
    if (key_ != key) {
        inks_.clear();
        key_ = key;
    }
    std::vector<char32_t> missing;
    for (const char32_t code : codes) {
        if (!inks_.contains(code)) {
            missing.push_back(code);
        }
    }
    std::vector<std::optional<ColourInk>> composed(missing.size());
    WorkerPool::shared().run(
        missing.size(), missing.size() < kLeastWorkToShare ? 1 : threads,
        [&](int, std::size_t index) {
            if (control != nullptr && control->cancelled()) {
                return;
            }
            const char32_t code = missing[index];
            const ReducedInk& ink = glyphs.reducedInk(code);
            if (ink.channels == 4) {
                // A colour glyph keeps its own colours; effects apply to monochrome ink.
                composed[index] = ColourInk{ink.left, ink.top, ink.width, ink.height, ink.pixels};
                return;
            }
            composed[index] =
                composeEffects(glyphs.reducedInk(code),
                               effects.outline ? &glyphs.borderedInk(code) : nullptr, effects);
        });
    for (std::size_t i = 0; i < missing.size(); ++i) {
        if (composed[i]) {
            inks_.emplace(missing[i], std::move(*composed[i]));
        }
    }
}

}  // namespace vemro
