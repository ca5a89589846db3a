#pragma once

#include <string>

#include "engine/core/result.h"
#include "engine/font/font_renderer.h"
#include "files/project/document.h"

namespace vemro {

// The options of the texture, the packing and the files written. Each applies its argument to
// the document or says in a sentence what is wrong with it (see ExportOption::apply).

Status setTexture(const std::string& argument, Document& document, FontRenderer& renderer);
Status setFitSize(const std::string& argument, Document& document, FontRenderer& renderer);
Status setNoFitSize(const std::string& argument, Document& document, FontRenderer& renderer);
Status setMultiplePages(const std::string& argument, Document& document, FontRenderer& renderer);
Status setOnePage(const std::string& argument, Document& document, FontRenderer& renderer);
Status setTrimToInk(const std::string& argument, Document& document, FontRenderer& renderer);
Status setWholeLineCells(const std::string& argument, Document& document, FontRenderer& renderer);
Status setPacker(const std::string& argument, Document& document, FontRenderer& renderer);
Status setSpacing(const std::string& argument, Document& document, FontRenderer& renderer);
Status setFormat(const std::string& argument, Document& document, FontRenderer& renderer);
Status setImage(const std::string& argument, Document& document, FontRenderer& renderer);
Status keepKerning(const std::string& argument, Document& document, FontRenderer& renderer);
Status leaveOutKerning(const std::string& argument, Document& document, FontRenderer& renderer);

}  // namespace vemro
