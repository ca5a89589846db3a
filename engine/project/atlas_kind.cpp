#include "engine/project/atlas_kind.h"

#include <algorithm>
#include <iterator>

namespace vemro {

namespace {

// One row per kind: its bytes a pixel, and for a kind of distances the field's type as
// descriptors name it (empty otherwise).
struct KindRow {
    AtlasKind kind;
    std::int32_t channels;
    const char* fieldType;
};

constexpr KindRow kKinds[] = {
    {AtlasKind::Coverage, 1, ""},
    {AtlasKind::Colour, 4, ""},
    {AtlasKind::DistanceField, 1, "sdf"},
};

const KindRow& rowOf(AtlasKind kind) {
    const auto row = std::find_if(std::begin(kKinds), std::end(kKinds),
                                  [kind](const KindRow& entry) { return entry.kind == kind; });
    return row != std::end(kKinds) ? *row : kKinds[0];
}

AtlasEncoding encodingOf(AtlasKind kind, std::int32_t spread) {
    const KindRow& row = rowOf(kind);
    return AtlasEncoding{kind, row.channels, *row.fieldType != '\0' ? spread : 0};
}

}  // namespace

bool AtlasEncoding::isField() const {
    return *rowOf(kind).fieldType != '\0';
}

const char* AtlasEncoding::fieldType() const {
    return rowOf(kind).fieldType;
}

std::int32_t AtlasEncoding::distanceRange() const {
    return isField() ? static_cast<std::int32_t>(field::distanceRange(spread)) : 0;
}

AtlasEncoding atlasEncodingFor(const EffectSettings& effects) {
    if (effects.distanceField) {
        return encodingOf(AtlasKind::DistanceField, effects.spread);
    }
    const bool colour = effects.outline || effects.shadow || !(effects.fill == Rgb{255, 255, 255});
    return encodingOf(colour ? AtlasKind::Colour : AtlasKind::Coverage, 0);
}

}  // namespace vemro
