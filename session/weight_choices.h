#pragma once

#include <cstdint>
#include <vector>

#include "engine/font/font_renderer.h"
#include "files/project/document.h"
#include "session/document_fields.h"

namespace vemro {

// The "Weight" list for the document's face: for a face whose weight varies, each weight the
// renderer offers as "300 Light" (the named instance's style name, else the weight's usual name);
// for a face of fixed weights, "Normal", "Medium" and "Bold".
std::vector<FieldChoice> weightChoices(const Document& document, FontRenderer& renderer);

// The weight a project keeps on a face that offers `weights` (none for a face of fixed weights):
// the weight itself where offered; on a face of fixed weights the one of its three that draws
// the same (fixedWeightFor); else the nearest weight offered, the lighter of two as near.
std::int32_t offeredWeight(std::int32_t weight, const std::vector<FaceWeight>& weights);

}  // namespace vemro
