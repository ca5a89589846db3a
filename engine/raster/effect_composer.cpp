#include "engine/raster/effect_composer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "engine/raster/shadow_blur.h"

namespace vemro {

namespace {

// A rectangle of atlas pixels on the ink's grid: columns [left, right), rows [top, bottom).
struct Box {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
};

Box boxOf(const ReducedInk& ink) {
    if (ink.width <= 0 || ink.height <= 0) {
        return {};
    }
    return Box{ink.left, ink.top, ink.left + ink.width, ink.top + ink.height};
}

Box unite(const Box& a, const Box& b) {
    if (a.empty()) {
        return b;
    }
    if (b.empty()) {
        return a;
    }
    return Box{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
               std::max(a.bottom, b.bottom)};
}

// The ink's value at grid pixel (x, y), 0..1; 0 outside it.
float valueAt(const ReducedInk& ink, std::int32_t x, std::int32_t y) {
    const std::int32_t column = x - ink.left;
    const std::int32_t row = y - ink.top;
    if (column < 0 || row < 0 || column >= ink.width || row >= ink.height) {
        return 0.0f;
    }
    return ink.pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(ink.width) +
                      static_cast<std::size_t>(column)] /
           255.0f;
}

float channel(std::uint8_t value) {
    return static_cast<float>(value);
}

// A value of 0..255 rounded to nearest.
std::uint8_t byte(float value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0.0f, 255.0f) + 0.5f);
}

}  // namespace

ColourInk composeEffects(const ReducedInk& fill, const ReducedInk* bordered,
                         const EffectSettings& effects) {
    const ReducedInk* outline = effects.outline ? bordered : nullptr;
    const Box ink = unite(boxOf(fill), outline != nullptr ? boxOf(*outline) : Box{});
    if (ink.empty()) {
        return ColourInk{};
    }
    Box shadow;
    std::vector<float> shadowAlpha;
    if (effects.shadow) {
        // The alpha of fill and outline together, moved, with room for the blur around it.
        const std::int32_t blur = effects.shadowBlur;
        shadow = Box{ink.left + effects.shadowX - blur, ink.top + effects.shadowY - blur,
                     ink.right + effects.shadowX + blur, ink.bottom + effects.shadowY + blur};
        shadowAlpha.assign(static_cast<std::size_t>(shadow.width()) * shadow.height(), 0.0f);
        for (std::int32_t y = ink.top; y < ink.bottom; ++y) {
            for (std::int32_t x = ink.left; x < ink.right; ++x) {
                const float alpha = std::max(valueAt(fill, x, y),
                                             outline != nullptr ? valueAt(*outline, x, y) : 0.0f);
                const std::int32_t column = x + effects.shadowX - shadow.left;
                const std::int32_t row = y + effects.shadowY - shadow.top;
                shadowAlpha[static_cast<std::size_t>(row) * shadow.width() + column] = alpha;
            }
        }
        blurShadow(shadowAlpha, shadow.width(), shadow.height(), blur);
        const float opacity = effects.shadowOpacity / 255.0f;
        for (float& alpha : shadowAlpha) {
            alpha *= opacity;
        }
    }

    const Box whole = unite(ink, shadow);
    ColourInk composed;
    composed.left = whole.left;
    composed.top = whole.top;
    composed.width = whole.width();
    composed.height = whole.height();
    composed.pixels.resize(static_cast<std::size_t>(composed.width) * composed.height * 4);
    const Rgb clear = transparentColour(effects);
    std::uint8_t* pixel = composed.pixels.data();
    for (std::int32_t y = whole.top; y < whole.bottom; ++y) {
        for (std::int32_t x = whole.left; x < whole.right; ++x, pixel += 4) {
            // Premultiplied sums of the layers from the bottom up.
            float alpha = 0.0f;
            float red = 0.0f;
            float green = 0.0f;
            float blue = 0.0f;
            const auto over = [&](float layer, const Rgb& colour) {
                red = layer * channel(colour.red) + red * (1.0f - layer);
                green = layer * channel(colour.green) + green * (1.0f - layer);
                blue = layer * channel(colour.blue) + blue * (1.0f - layer);
                alpha = layer + alpha * (1.0f - layer);
            };
            if (!shadow.empty() && x >= shadow.left && x < shadow.right && y >= shadow.top &&
                y < shadow.bottom) {
                over(shadowAlpha[static_cast<std::size_t>(y - shadow.top) * shadow.width() +
                                 (x - shadow.left)],
                     effects.shadowColour);
            }
            if (outline != nullptr) {
                const float layer = valueAt(*outline, x, y);
                if (layer > 0.0f) {
                    over(layer, effects.outlineColour);
                }
            }
            const float layer = valueAt(fill, x, y);
            if (layer > 0.0f) {
                over(layer, effects.fill);
            }
            const std::uint8_t stored = byte(alpha * 255.0f);
            if (stored == 0) {
                pixel[0] = clear.red;
                pixel[1] = clear.green;
                pixel[2] = clear.blue;
                pixel[3] = 0;
                continue;
            }
            pixel[0] = byte(red / alpha);
            pixel[1] = byte(green / alpha);
            pixel[2] = byte(blue / alpha);
            pixel[3] = stored;
        }
    }
    return composed;
}

}  // namespace vemro
