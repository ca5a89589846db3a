#include "engine/project/effect_settings.h"

#include <algorithm>

#include "engine/project/atlas_kind.h"

namespace vemro {

EffectSettings appliedEffects(const EffectSettings& stored) {
    EffectSettings effects = stored;
    if (atlasEncodingFor(effects).isField()) {
        effects.outline = false;
        effects.shadow = false;
    }
    return effects;
}

EffectPadding effectPadding(const EffectSettings& effects) {
    if (const AtlasEncoding encoding = atlasEncodingFor(effects); encoding.isField()) {
        return EffectPadding{encoding.spread, encoding.spread, encoding.spread, encoding.spread};
    }
    const std::int32_t outline = effects.outline ? effects.outlineWidth : 0;
    EffectPadding padding{outline, outline, outline, outline};
    if (effects.shadow) {
        // The shadow is the outlined ink moved by the offset and blurred by the blur radius.
        const std::int32_t reach = outline + effects.shadowBlur;
        padding.left = std::max(padding.left, reach - effects.shadowX);
        padding.right = std::max(padding.right, reach + effects.shadowX);
        padding.top = std::max(padding.top, reach - effects.shadowY);
        padding.bottom = std::max(padding.bottom, reach + effects.shadowY);
    }
    return padding;
}

Rgb transparentColour(const EffectSettings& effects) {
    if (effects.shadow) {
        return effects.shadowColour;
    }
    return effects.outline ? effects.outlineColour : effects.fill;
}

}  // namespace vemro
