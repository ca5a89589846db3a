#include "files/project/effect_section.h"

#include "files/project/section_fields.h"

namespace vemro {

namespace {

constexpr char kEffectsTag[] = "EFCT";
// Fill 3, outline 8, shadow 17, distance field 5.
constexpr std::size_t kEffectsPayloadBytes = 33;

void writeColour(ByteWriter& out, const Rgb& colour) {
    out.u8(colour.red);
    out.u8(colour.green);
    out.u8(colour.blue);
}

Rgb readColour(ByteReader& in) {
    Rgb colour;
    colour.red = in.u8();
    colour.green = in.u8();
    colour.blue = in.u8();
    return colour;
}

std::optional<std::string> rangeProblem(const char* what, std::int32_t value, std::int32_t low,
                                        std::int32_t high) {
    return sectionRangeProblem(kEffectsTag, what, value, low, high);
}

void writeEffects(ByteWriter& out, const Document& document) {
    const EffectSettings& effects = document.project.effects;
    writeColour(out, effects.fill);
    out.u8(effects.outline ? 1 : 0);
    out.i32(effects.outlineWidth);
    writeColour(out, effects.outlineColour);
    out.u8(effects.shadow ? 1 : 0);
    out.i32(effects.shadowX);
    out.i32(effects.shadowY);
    out.i32(effects.shadowBlur);
    writeColour(out, effects.shadowColour);
    out.u8(effects.shadowOpacity);
    out.u8(effects.distanceField ? 1 : 0);
    out.i32(effects.spread);
}

std::optional<std::string> readEffects(ByteReader& payload, Document& document) {
    EffectSettings read;
    read.fill = readColour(payload);
    const std::uint8_t outline = payload.u8();
    read.outlineWidth = payload.i32();
    read.outlineColour = readColour(payload);
    const std::uint8_t shadow = payload.u8();
    read.shadowX = payload.i32();
    read.shadowY = payload.i32();
    read.shadowBlur = payload.i32();
    read.shadowColour = readColour(payload);
    read.shadowOpacity = payload.u8();
    const std::uint8_t distanceField = payload.u8();
    read.spread = payload.i32();
    for (const auto& [what, flag] : {std::pair{"outline", outline}, std::pair{"shadow", shadow},
                                     std::pair{"distance field", distanceField}}) {
        if (auto problem = sectionFlagProblem(kEffectsTag, what, flag)) {
            return problem;
        }
    }
    read.outline = outline == 1;
    read.shadow = shadow == 1;
    read.distanceField = distanceField == 1;
    document.project.effects = read;
    return effectsProblem(read);
}

}  // namespace

std::optional<std::string> effectsProblem(const EffectSettings& effects) {
    using E = EffectSettings;
    if (auto problem = rangeProblem("outline width", effects.outlineWidth, E::kMinOutlineWidth,
                                    E::kMaxOutlineWidth)) {
        return problem;
    }
    if (auto problem = rangeProblem("shadow offset x", effects.shadowX, E::kMinShadowOffset,
                                    E::kMaxShadowOffset)) {
        return problem;
    }
    if (auto problem = rangeProblem("shadow offset y", effects.shadowY, E::kMinShadowOffset,
                                    E::kMaxShadowOffset)) {
        return problem;
    }
    if (auto problem =
            rangeProblem("shadow blur", effects.shadowBlur, E::kMinShadowBlur, E::kMaxShadowBlur)) {
        return problem;
    }
    return rangeProblem("distance field spread", effects.spread, E::kMinSpread, E::kMaxSpread);
}

const ProjectSection kEffectsSection{
    kEffectsTag,
    kEffectsPayloadBytes,
    true,
    nullptr,
    [](const Document& document) { return document.project.effects == EffectSettings{}; },
    writeEffects,
    readEffects,
    [](const Document& document) { return effectsProblem(document.project.effects); },
};

}  // namespace vemro
