#include "session/weight_choices.h"

#include <cstdlib>
#include <string>

#include "engine/project/setting_choices.h"

namespace vemro {

std::vector<FieldChoice> weightChoices(const Document& document, FontRenderer& renderer) {
    std::vector<FieldChoice> choices;
    const std::vector<FaceWeight> weights = renderer.weightsOf(fontRequestFor(document.project));
    if (weights.empty()) {
        for (const SettingChoice& choice : kWeightChoices) {
            choices.push_back({choice.value, choice.label});
        }
        return choices;
    }
    for (const FaceWeight& weight : weights) {
        std::string name = weight.name;
        if (name.empty()) {
            const std::optional<SettingChoice> usual =
                findChoice(kNumberWeightNames, weight.weight);
            name = usual ? usual->label : "";
        }
        choices.push_back(
            {weight.weight, std::to_string(weight.weight) + (name.empty() ? "" : " " + name)});
    }
    return choices;
}

std::int32_t offeredWeight(std::int32_t weight, const std::vector<FaceWeight>& weights) {
    if (weights.empty()) {
        return fixedWeightFor(weight);
    }
    std::int32_t nearest = weights.front().weight;
    for (const FaceWeight& offered : weights) {
        if (std::abs(offered.weight - weight) < std::abs(nearest - weight)) {
            nearest = offered.weight;
        }
    }
    return nearest;
}

}  // namespace vemro
