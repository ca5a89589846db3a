#pragma once

#include <cstdint>

#include "engine/field/field_encoding.h"
#include "engine/project/effect_settings.h"

namespace vemro {

// What the pages of an atlas hold. A rebuild decides it once from the effects (atlasEncodingFor)
// and carries it on its result with the encoding, so that exporters and views read the values
// from there rather than from the settings. A new kind is a value here and a row of the table in
// atlas_kind.cpp.
enum class AtlasKind : std::uint8_t {
    Coverage,       // 8-bit coverage of the glyphs' ink
    Colour,         // 32-bit red, green, blue and straight alpha: fill, outline and shadow composed
    DistanceField,  // 8-bit signed distance field, the true distance to the outline
};

// How the values of an atlas's pages are to be read.
struct AtlasEncoding {
    AtlasKind kind = AtlasKind::Coverage;
    // Bytes a pixel on every page.
    std::int32_t channels = 1;
    // A distance field's reach: the pixels of distance to either side of the outline that its
    // values span, encoded as engine/field/field_encoding.h says; 0 for a kind without distances.
    std::int32_t spread = 0;

    // Whether the values are distances.
    bool isField() const;
    // The field's type as descriptors name it ("sdf"); empty for a kind without distances.
    const char* fieldType() const;
    // The distance range descriptors state, in atlas pixels (twice the spread); 0 without a
    // field.
    std::int32_t distanceRange() const;
    // The value on the outline, and how many values one atlas pixel of distance spans.
    double edgeValue() const { return field::kEdgeValue; }
    double valuesPerPixel() const { return field::valuesPerPixel(spread); }

    friend bool operator==(const AtlasEncoding&, const AtlasEncoding&) = default;
};

// The atlas the effects make: a distance field of their spread when one is asked for; colour when
// they compose colour (an outline, a shadow or a fill other than white); coverage otherwise.
AtlasEncoding atlasEncodingFor(const EffectSettings& effects);

}  // namespace vemro
