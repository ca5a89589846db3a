#include "engine/project/setting_choices.h"

#include <algorithm>

namespace vemro {

std::int32_t fixedWeightFor(std::int32_t weight) {
    constexpr std::int32_t kLastNormal = 550;
    if (weight <= kLastNormal) {
        return FontSettings::kWeightNormal;
    }
    return weight - FontSettings::kWeightMedium <= FontSettings::kWeightBold - weight
               ? FontSettings::kWeightMedium
               : FontSettings::kWeightBold;
}

std::optional<SettingChoice> findChoice(std::span<const SettingChoice> choices,
                                        std::int32_t value) {
    const auto found =
        std::find_if(choices.begin(), choices.end(),
                     [value](const SettingChoice& choice) { return choice.value == value; });
    if (found == choices.end()) {
        return std::nullopt;
    }
    return *found;
}

}  // namespace vemro
