#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "engine/project/effect_settings.h"
#include "engine/project/font_settings.h"

namespace vemro {

// A value a setting can take, with the caption the window shows for it.
struct SettingChoice {
    std::int32_t value;
    const char* label;
};

// The entries of the "Weight", "Quality" and "Anti-aliassing" lists, in the order shown; the
// first of each is the start-up choice.
inline constexpr std::array<SettingChoice, 3> kWeightChoices{{
    {FontSettings::kWeightNormal, "Normal"},
    {FontSettings::kWeightMedium, "Medium"},
    {FontSettings::kWeightBold, "Bold"},
}};
inline constexpr std::array<SettingChoice, 2> kQualityChoices{{
    {FontSettings::kQualityAntialiased, "Antialiased"},
    {FontSettings::kQualityNonAntialiased, "non-Antialiased"},
}};
inline constexpr std::array<SettingChoice, 4> kFactorChoices{{
    {1, "(none)"},
    {2, "2x2"},
    {3, "3x3"},
    {4, "4x4"},
}};

// The entries of the "Distance field" list, in the order shown; "None" first.
inline constexpr std::array<SettingChoice, 5> kDistanceFieldChoices{{
    {static_cast<std::int32_t>(DistanceField::None), "None"},
    {static_cast<std::int32_t>(DistanceField::Sdf), "True (SDF)"},
    {static_cast<std::int32_t>(DistanceField::Psdf), "Pseudo (PSDF)"},
    {static_cast<std::int32_t>(DistanceField::Msdf), "Multi-channel (MSDF)"},
    {static_cast<std::int32_t>(DistanceField::Mtsdf), "Multi-channel and true (MTSDF)"},
}};

// The texture sides the "Width" and "Height" groups offer, smallest first.
inline constexpr std::array<std::int32_t, 7> kTextureSideChoices{64,   128,  256, 512,
                                                                 1024, 2048, 4096};

// The choice carrying value, or nothing when none does.
std::optional<SettingChoice> findChoice(std::span<const SettingChoice> choices, std::int32_t value);

}  // namespace vemro
