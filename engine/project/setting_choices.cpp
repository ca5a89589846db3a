#include "engine/project/setting_choices.h"

#include <algorithm>

namespace vemro {

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
