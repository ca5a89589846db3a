#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

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
// The names of the nine weights 100..900 that a face whose weight varies offers, where the face
// names no instance at that weight.
inline constexpr std::array<SettingChoice, 9> kNumberWeightNames{{
    {100, "Thin"},
    {200, "Extra Light"},
    {300, "Light"},
    {400, "Normal"},
    {500, "Medium"},
    {600, "Semi Bold"},
    {700, "Bold"},
    {800, "Extra Bold"},
    {900, "Black"},
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

// The texture sides the "Width" and "Height" groups offer, smallest first.
inline constexpr std::array<std::int32_t, 7> kTextureSideChoices{64,   128,  256, 512,
                                                                 1024, 2048, 4096};

// The entry of kWeightChoices that stands for a weight where only those three can be: the weight
// itself for those; Normal up to 550, which a face of fixed weights draws normal; else the nearer
// of Medium and Bold, which it draws bold.
std::int32_t fixedWeightFor(std::int32_t weight);

// The choice carrying value, or nothing when none does.
std::optional<SettingChoice> findChoice(std::span<const SettingChoice> choices, std::int32_t value);

}  // namespace vemro
