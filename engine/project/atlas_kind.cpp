#include "engine/project/atlas_kind.h"

#include <algorithm>
#include <iterator>

namespace vemro {

namespace {

// One row per kind: its bytes a pixel and, for a kind of distances, the setting that asks for it,
// the generator's kind and the field's type as descriptors name it (empty otherwise).
struct KindRow {
    AtlasKind kind;
    std::int32_t channels;
    DistanceField setting;
    std::optional<field::FieldKind> field;
    const char* fieldType;
};

const KindRow kKinds[] = {
    {AtlasKind::Coverage, 1, DistanceField::None, std::nullopt, ""},
    {AtlasKind::Colour, 4, DistanceField::None, std::nullopt, ""},
    {AtlasKind::DistanceField, 1, DistanceField::Sdf, field::FieldKind::sdf, "sdf"},
    {AtlasKind::PseudoDistanceField, 1, DistanceField::Psdf, field::FieldKind::psdf, "psdf"},
    {AtlasKind::MultiChannelField, 3, DistanceField::Msdf, field::FieldKind::msdf, "msdf"},
    {AtlasKind::MultiChannelAndTrueField, 4, DistanceField::Mtsdf, field::FieldKind::mtsdf,
     "mtsdf"},
};

const KindRow& rowOf(AtlasKind kind) {
    const auto row = std::find_if(std::begin(kKinds), std::end(kKinds),
                                  [kind](const KindRow& entry) { return entry.kind == kind; });
    return row != std::end(kKinds) ? *row : kKinds[0];
}

AtlasEncoding encodingOf(const KindRow& row, std::int32_t spread) {
    return AtlasEncoding{row.kind, row.channels, row.field ? spread : 0};
}

}  // namespace

bool AtlasEncoding::isField() const {
    return rowOf(kind).field.has_value();
}

std::optional<field::FieldKind> AtlasEncoding::fieldKind() const {
    return rowOf(kind).field;
}

bool AtlasEncoding::isMultiChannel() const {
    const std::optional<field::FieldKind> field = fieldKind();
    return field && field::isMultiChannel(*field);
}

const char* AtlasEncoding::fieldType() const {
    return rowOf(kind).fieldType;
}

std::int32_t AtlasEncoding::distanceRange() const {
    return isField() ? static_cast<std::int32_t>(field::distanceRange(spread)) : 0;
}

AtlasEncoding atlasEncodingFor(const EffectSettings& effects) {
    if (effects.distanceField != DistanceField::None) {
        const auto row = std::find_if(
            std::begin(kKinds), std::end(kKinds),
            [&](const KindRow& entry) { return entry.setting == effects.distanceField; });
        if (row != std::end(kKinds)) {
            return encodingOf(*row, effects.spread);
        }
    }
    const bool colour = effects.outline || effects.shadow || !(effects.fill == Rgb{255, 255, 255});
    return encodingOf(rowOf(colour ? AtlasKind::Colour : AtlasKind::Coverage), 0);
}

}  // namespace vemro
