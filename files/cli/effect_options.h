#pragma once

#include <string>

#include "engine/core/result.h"
#include "engine/font/font_renderer.h"
#include "files/project/document.h"

namespace vemro {

// The options of the effects: fill colour, outline, shadow and distance field. Each applies its
// argument to the document or says in a sentence what is wrong with it (see
// ExportOption::apply).

Status setFill(const std::string& argument, Document& document, FontRenderer& renderer);
Status setOutline(const std::string& argument, Document& document, FontRenderer& renderer);
Status setNoOutline(const std::string& argument, Document& document, FontRenderer& renderer);
Status setShadow(const std::string& argument, Document& document, FontRenderer& renderer);
Status setNoShadow(const std::string& argument, Document& document, FontRenderer& renderer);
Status setDistanceField(const std::string& argument, Document& document, FontRenderer& renderer);
Status setNoDistanceField(const std::string& argument, Document& document, FontRenderer& renderer);

}  // namespace vemro
