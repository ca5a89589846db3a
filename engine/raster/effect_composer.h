#pragma once

#include "engine/project/effect_settings.h"
#include "engine/raster/cell_reducer.h"
#include "engine/raster/colour_ink.h"

namespace vemro {

// Composes a glyph's colour ink from its reduced ink (`fill`) and, with an outline, its ink
// widened by the outline (`bordered`, on the same grid): the fill in the fill colour over the
// outline in its colour over the shadow, Porter-Duff "over" on straight alpha. The shadow is the
// alpha of fill and outline together, moved by the shadow's offset, blurred (shadow_blur.h) and
// scaled by its opacity, in the shadow colour. Pixels without alpha hold transparentColour.
// The image covers every pixel any layer reaches; an empty ink gives an empty image.
ColourInk composeEffects(const ReducedInk& fill, const ReducedInk* bordered,
                         const EffectSettings& effects);

}  // namespace vemro
