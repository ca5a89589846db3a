#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/core/result.h"
#include "engine/font/font_renderer.h"
#include "files/project/document.h"

namespace vemro {

// The options of the font: its face or file, size and style. Each applies its argument to the
// document or says in a sentence what is wrong with it (see ExportOption::apply).

Status useFace(const std::string& argument, Document& document, FontRenderer& renderer);
Status useFontFile(const std::string& argument, Document& document, FontRenderer& renderer);
Status setSize(const std::string& argument, Document& document, FontRenderer& renderer);
Status setPixelHeight(const std::string& argument, Document& document, FontRenderer& renderer);
Status setWeight(const std::string& argument, Document& document, FontRenderer& renderer);
Status setItalic(const std::string& argument, Document& document, FontRenderer& renderer);
Status setUpright(const std::string& argument, Document& document, FontRenderer& renderer);
Status setQuality(const std::string& argument, Document& document, FontRenderer& renderer);
Status setFactor(const std::string& argument, Document& document, FontRenderer& renderer);
Status setBorders(const std::string& argument, Document& document, FontRenderer& renderer);

// The path and the face index of --font-file's argument "PATH[#INDEX]": the index is the
// number after the last "#" when there is one (0 to 65535), and the path what comes before.
struct FontFileArgument {
    std::string path;
    std::optional<std::int32_t> index;
};
FontFileArgument splitFontFileArgument(const std::string& argument);

// The point size --px chooses for an em height in pixels: the size whose height
// (pixelHeightFor(size, 1)) is nearest, of two equally near the smaller; nothing outside the
// heights of the smallest and the largest size.
std::optional<std::int32_t> sizeForPixels(std::int32_t pixels);

}  // namespace vemro
