#include "files/project/effect_section.h"

#include "files/io/little_endian.h"
#include "files/project/section_fields.h"

namespace vemro {

namespace {

void putColour(std::vector<std::uint8_t>& out, const Rgb& colour) {
    out.push_back(colour.red);
    out.push_back(colour.green);
    out.push_back(colour.blue);
}

Rgb getColour(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return Rgb{bytes[at], bytes[at + 1], bytes[at + 2]};
}

std::optional<std::string> rangeProblem(const char* what, std::int32_t value, std::int32_t low,
                                        std::int32_t high) {
    return sectionRangeProblem(kEffectsTag, what, value, low, high);
}

}  // namespace

void appendEffectsSection(std::vector<std::uint8_t>& out, const EffectSettings& effects) {
    putSectionTag(out, kEffectsTag);
    putUint32(out, kEffectsPayloadBytes);
    putColour(out, effects.fill);
    out.push_back(effects.outline ? 1 : 0);
    putInt32(out, effects.outlineWidth);
    putColour(out, effects.outlineColour);
    out.push_back(effects.shadow ? 1 : 0);
    putInt32(out, effects.shadowX);
    putInt32(out, effects.shadowY);
    putInt32(out, effects.shadowBlur);
    putColour(out, effects.shadowColour);
    out.push_back(effects.shadowOpacity);
    out.push_back(effects.distanceField ? 1 : 0);
    putInt32(out, effects.spread);
}

std::optional<std::string> readEffectsSection(const std::vector<std::uint8_t>& bytes,
                                              std::size_t at, std::size_t length,
                                              std::optional<EffectSettings>& effects) {
    if (length != kEffectsPayloadBytes) {
        return sectionLengthProblem(kEffectsTag, length, kEffectsPayloadBytes);
    }
    for (const auto& [what, offset] :
         {std::pair{"outline", 3}, std::pair{"shadow", 11}, std::pair{"distance field", 28}}) {
        if (auto problem = sectionFlagProblem(kEffectsTag, what, bytes[at + offset])) {
            return problem;
        }
    }
    EffectSettings read;
    read.fill = getColour(bytes, at);
    read.outline = bytes[at + 3] == 1;
    read.outlineWidth = getInt32(bytes, at + 4);
    read.outlineColour = getColour(bytes, at + 8);
    read.shadow = bytes[at + 11] == 1;
    read.shadowX = getInt32(bytes, at + 12);
    read.shadowY = getInt32(bytes, at + 16);
    read.shadowBlur = getInt32(bytes, at + 20);
    read.shadowColour = getColour(bytes, at + 24);
    read.shadowOpacity = bytes[at + 27];
    read.distanceField = bytes[at + 28] == 1;
    read.spread = getInt32(bytes, at + 29);
    effects = read;
    return effectsProblem(read);
}

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

}  // namespace vemro
