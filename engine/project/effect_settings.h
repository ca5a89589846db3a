#pragma once

#include <cstdint>

namespace vemro {

// A colour of 8-bit red, green and blue.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// What is baked into the atlas besides the glyphs' coverage: a fill colour, an outline and a
// drop shadow composed into 32-bit colour pages, or a signed distance field instead of coverage.
// Sizes are in atlas pixels. A switched-off effect keeps its values, so switching it on again
// restores them.
struct EffectSettings {
    static constexpr std::int32_t kMinOutlineWidth = 1;
    static constexpr std::int32_t kMaxOutlineWidth = 16;
    static constexpr std::int32_t kMinShadowOffset = -16;
    static constexpr std::int32_t kMaxShadowOffset = 16;
    static constexpr std::int32_t kMinShadowBlur = 0;
    static constexpr std::int32_t kMaxShadowBlur = 8;
    static constexpr std::int32_t kMinSpread = 2;
    static constexpr std::int32_t kMaxSpread = 32;

    Rgb fill{255, 255, 255};

    bool outline = false;
    std::int32_t outlineWidth = 2;
    Rgb outlineColour{0, 0, 0};

    bool shadow = false;
    std::int32_t shadowX = 2;
    std::int32_t shadowY = 2;
    std::int32_t shadowBlur = 2;
    Rgb shadowColour{0, 0, 0};
    std::uint8_t shadowOpacity = 160;

    // A signed distance field of every glyph instead of its coverage: 8-bit pages, 128 on the
    // outline, `spread` pixels of distance to either side over the values' range. Outline and
    // shadow do not apply to it, nor does supersampling.
    bool distanceField = false;
    std::int32_t spread = 8;

    friend bool operator==(const EffectSettings&, const EffectSettings&) = default;
};

// Pixels an effect adds to the glyph's ink on each side.
struct EffectPadding {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend bool operator==(const EffectPadding&, const EffectPadding&) = default;
};

// The settings as a rebuild applies them: outline and shadow do not apply to a distance field.
EffectSettings appliedEffects(const EffectSettings& stored);

// What the applied effects add around the ink: the outline's width on every side; the shadow's
// blur around the outlined ink moved by its offset, on the sides it reaches; a distance field's
// spread on every side.
EffectPadding effectPadding(const EffectSettings& effects);

// The colour of the transparent pixels of a colour page: that of the outermost layer (shadow,
// else outline, else fill), so that filtering at the ink's edge does not blend in another one.
Rgb transparentColour(const EffectSettings& effects);

}  // namespace vemro
