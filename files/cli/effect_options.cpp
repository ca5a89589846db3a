#include "files/cli/effect_options.h"

#include <optional>
#include <vector>

#include "files/cli/option_arguments.h"

namespace vemro {

// --fill RRGGBB.
Status setFill(const std::string& argument, Document& document, FontRenderer&) {
    const std::optional<Rgb> colour = colourNamed(argument);
    if (!colour) {
        return Status::failure("\"" + argument +
                               "\" is not a colour: give six hexadecimal digits RRGGBB");
    }
    document.project.effects.fill = *colour;
    return Status::success();
}

// --outline W[,RRGGBB]: an outline instead of a distance field.
Status setOutline(const std::string& argument, Document& document, FontRenderer&) {
    using E = EffectSettings;
    const std::vector<std::string> parts = commaParts(argument);
    const std::optional<std::int32_t> width =
        wholeNumber(parts[0], E::kMinOutlineWidth, E::kMaxOutlineWidth);
    const std::optional<Rgb> colour = parts.size() == 2
                                          ? colourNamed(parts[1])
                                          : std::optional(document.project.effects.outlineColour);
    if (parts.size() > 2 || !width || !colour) {
        return Status::failure("\"" + argument + "\" is not an outline: give a width of " +
                               std::to_string(E::kMinOutlineWidth) + " to " +
                               std::to_string(E::kMaxOutlineWidth) +
                               " pixels, and after a comma a colour RRGGBB if wanted");
    }
    EffectSettings& effects = document.project.effects;
    effects.outline = true;
    effects.outlineWidth = *width;
    effects.outlineColour = *colour;
    effects.distanceField = false;
    return Status::success();
}

// --no-outline: the outline off, its width and colour kept.
Status setNoOutline(const std::string&, Document& document, FontRenderer&) {
    document.project.effects.outline = false;
    return Status::success();
}

// --shadow DX,DY,BLUR[,RRGGBBAA]: a shadow instead of a distance field.
Status setShadow(const std::string& argument, Document& document, FontRenderer&) {
    using E = EffectSettings;
    const std::vector<std::string> parts = commaParts(argument);
    const bool counted = parts.size() == 3 || parts.size() == 4;
    const std::optional<std::int32_t> x =
        counted ? signedNumber(parts[0], E::kMinShadowOffset, E::kMaxShadowOffset) : std::nullopt;
    const std::optional<std::int32_t> y =
        counted ? signedNumber(parts[1], E::kMinShadowOffset, E::kMaxShadowOffset) : std::nullopt;
    const std::optional<std::int32_t> blur =
        counted ? wholeNumber(parts[2], E::kMinShadowBlur, E::kMaxShadowBlur) : std::nullopt;
    const std::optional<std::vector<std::uint8_t>> colour =
        parts.size() == 4 ? hexBytes(parts[3], 4) : std::nullopt;
    if (!x || !y || !blur || (parts.size() == 4 && !colour)) {
        return Status::failure(
            "\"" + argument + "\" is not a shadow: give DX,DY,BLUR with offsets of " +
            std::to_string(E::kMinShadowOffset) + " to " + std::to_string(E::kMaxShadowOffset) +
            " and a blur of " + std::to_string(E::kMinShadowBlur) + " to " +
            std::to_string(E::kMaxShadowBlur) +
            " pixels, and after a comma a colour and opacity RRGGBBAA if wanted");
    }
    EffectSettings& effects = document.project.effects;
    effects.shadow = true;
    effects.shadowX = *x;
    effects.shadowY = *y;
    effects.shadowBlur = *blur;
    if (colour) {
        effects.shadowColour = Rgb{(*colour)[0], (*colour)[1], (*colour)[2]};
        effects.shadowOpacity = (*colour)[3];
    }
    effects.distanceField = false;
    return Status::success();
}

// --no-shadow: the shadow off, its values kept.
Status setNoShadow(const std::string&, Document& document, FontRenderer&) {
    document.project.effects.shadow = false;
    return Status::success();
}

// --sdf SPREAD: a distance field instead of coverage, outline and shadow.
Status setDistanceField(const std::string& argument, Document& document, FontRenderer&) {
    using E = EffectSettings;
    const std::optional<std::int32_t> spread = wholeNumber(argument, E::kMinSpread, E::kMaxSpread);
    if (!spread) {
        return Status::failure("\"" + argument + "\" is not a spread: give a whole number of " +
                               std::to_string(E::kMinSpread) + " to " +
                               std::to_string(E::kMaxSpread) + " pixels");
    }
    EffectSettings& effects = document.project.effects;
    effects.distanceField = true;
    effects.spread = *spread;
    effects.outline = false;
    effects.shadow = false;
    return Status::success();
}

// --no-field: coverage instead of a distance field, the spread kept.
Status setNoDistanceField(const std::string&, Document& document, FontRenderer&) {
    document.project.effects.distanceField = false;
    return Status::success();
}

}  // namespace vemro
