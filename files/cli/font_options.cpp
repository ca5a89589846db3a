#include "files/cli/font_options.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "engine/project/project.h"
#include "files/cli/option_arguments.h"
#include "files/io/regular_file.h"
#include "files/project/font_file_path.h"

namespace vemro {

// --face NAME: an installed typeface, named as --list-faces names it (case does not matter),
// instead of the project's face or font file.
Status useFace(const std::string& argument, Document& document, FontRenderer& renderer) {
    const std::vector<std::string>& faces = renderer.faceNames();
    const auto found = std::find_if(faces.begin(), faces.end(), [&](const std::string& face) {
        return equalIgnoringCase(face, argument);
    });
    if (found == faces.end()) {
        return Status::failure("\"" + argument +
                               "\" is no installed typeface (--list-faces lists them)");
    }
    FontSettings& font = document.project.font;
    font.faceName = *found;
    font.fontFile.clear();
    font.fontFaceIndex = 0;
    return Status::success();
}

FontFileArgument splitFontFileArgument(const std::string& argument) {
    const std::size_t hash = argument.rfind('#');
    const std::optional<std::int32_t> index =
        hash == std::string::npos ? std::nullopt : wholeNumber(argument.substr(hash + 1), 0, 65535);
    return FontFileArgument{index ? argument.substr(0, hash) : argument, index};
}

// --font-file PATH[#INDEX]: a face of a font file instead of the project's face, the first
// unless an index follows the last "#"; the face name becomes the file's family, which a rebuild
// falls back on should the file go away.
Status useFontFile(const std::string& argument, Document& document, FontRenderer& renderer) {
    const auto [given, index] = splitFontFileArgument(argument);
    const std::string path = resolveFontFilePath(given, std::string());
    const std::int32_t wanted = index.value_or(0);
    // A named pipe or a device would block or never end when read as a font; nothing reads it.
    if (const std::optional<std::string> problem = regularFileProblem(path);
        problem == "it is not a regular file") {
        return Status::failure("the font file \"" + path + "\" could not be opened: " + *problem);
    }
    const Result<std::vector<FontFileFace>> faces = renderer.inspectFontFile(path);
    if (!faces) {
        return Status::failure(faces.message());
    }
    const auto chosen = std::find_if(faces->begin(), faces->end(),
                                     [wanted](const FontFileFace& f) { return f.index == wanted; });
    if (chosen == faces->end()) {
        return Status::failure(index ? "the font file \"" + path + "\" holds no face " +
                                           std::to_string(wanted) + "; it holds " +
                                           std::to_string(faces->size()) + ", numbered from 0"
                                     : "the font file \"" + path + "\" holds no face");
    }
    FontSettings& font = document.project.font;
    font.fontFile = path;
    font.fontFaceIndex = wanted;
    font.faceName = chosen->familyName;
    return Status::success();
}

// --size PT: 5 to 100 points.
Status setSize(const std::string& argument, Document& document, FontRenderer&) {
    const std::optional<std::int32_t> size =
        wholeNumber(argument, FontSettings::kMinSize, FontSettings::kMaxSize);
    if (!size) {
        return Status::failure("\"" + argument + "\" is not a size: give a whole number of " +
                               std::to_string(FontSettings::kMinSize) + " to " +
                               std::to_string(FontSettings::kMaxSize) + " points");
    }
    document.project.font.size = *size;
    return Status::success();
}

std::optional<std::int32_t> sizeForPixels(std::int32_t pixels) {
    if (pixels < pixelHeightFor(FontSettings::kMinSize, 1) ||
        pixels > pixelHeightFor(FontSettings::kMaxSize, 1)) {
        return std::nullopt;
    }
    std::int32_t best = FontSettings::kMinSize;
    for (std::int32_t size = FontSettings::kMinSize; size <= FontSettings::kMaxSize; ++size) {
        if (std::abs(pixelHeightFor(size, 1) - pixels) <
            std::abs(pixelHeightFor(best, 1) - pixels)) {
            best = size;
        }
    }
    return best;
}

// --px PIXELS: the size whose em height in atlas pixels is nearest.
Status setPixelHeight(const std::string& argument, Document& document, FontRenderer&) {
    const std::int32_t low = pixelHeightFor(FontSettings::kMinSize, 1);
    const std::int32_t high = pixelHeightFor(FontSettings::kMaxSize, 1);
    const std::optional<std::int32_t> pixels = wholeNumber(argument, low, high);
    if (!pixels) {
        return Status::failure("\"" + argument + "\" is not an em height: give a whole number of " +
                               std::to_string(low) + " to " + std::to_string(high) + " pixels");
    }
    document.project.font.size = sizeForPixels(*pixels).value();
    return Status::success();
}

// --weight normal|medium|bold|1..1000: a name of the three a face of fixed weights offers, or a
// number weight, which a face whose weight varies draws from its axis or nearest face.
Status setWeight(const std::string& argument, Document& document, FontRenderer&) {
    static constexpr std::pair<const char*, std::int32_t> kWeights[] = {
        {"normal", FontSettings::kWeightNormal},
        {"medium", FontSettings::kWeightMedium},
        {"bold", FontSettings::kWeightBold}};
    for (const auto& [name, weight] : kWeights) {
        if (argument == name) {
            document.project.font.weight = weight;
            return Status::success();
        }
    }
    if (const std::optional<std::int32_t> weight =
            wholeNumber(argument, FontSettings::kMinWeight, FontSettings::kMaxWeight)) {
        document.project.font.weight = *weight;
        return Status::success();
    }
    return Status::failure("\"" + argument + "\" is no weight: give normal, medium, bold or " +
                           std::to_string(FontSettings::kMinWeight) + " to " +
                           std::to_string(FontSettings::kMaxWeight));
}

Status setItalic(const std::string&, Document& document, FontRenderer&) {
    document.project.font.italic = true;
    return Status::success();
}

Status setUpright(const std::string&, Document& document, FontRenderer&) {
    document.project.font.italic = false;
    return Status::success();
}

// --quality antialiased|non-antialiased.
Status setQuality(const std::string& argument, Document& document, FontRenderer&) {
    if (argument == "antialiased") {
        document.project.font.quality = FontSettings::kQualityAntialiased;
    } else if (argument == "non-antialiased") {
        document.project.font.quality = FontSettings::kQualityNonAntialiased;
    } else {
        return Status::failure("\"" + argument +
                               "\" is no quality: give antialiased or non-antialiased");
    }
    return Status::success();
}

// --factor 1..4: the supersampling factor.
Status setFactor(const std::string& argument, Document& document, FontRenderer&) {
    const std::optional<std::int32_t> factor =
        wholeNumber(argument, FontSettings::kMinFactor, FontSettings::kMaxFactor);
    if (!factor) {
        return Status::failure("\"" + argument +
                               "\" is no supersampling factor: give 1, 2, 3 or 4");
    }
    document.project.font.factor = *factor;
    return Status::success();
}

// --border L,T,R,B (or one number for all four sides): 0 to 16 pixels each.
Status setBorders(const std::string& argument, Document& document, FontRenderer&) {
    const std::vector<std::string> parts = commaParts(argument);
    std::vector<std::int32_t> sides;
    for (const std::string& part : parts) {
        if (const std::optional<std::int32_t> side =
                wholeNumber(part, FontBorders::kMin, FontBorders::kMax)) {
            sides.push_back(*side);
        }
    }
    if ((parts.size() != 1 && parts.size() != 4) || sides.size() != parts.size()) {
        return Status::failure("\"" + argument +
                               "\" is not a border: give LEFT,TOP,RIGHT,BOTTOM or one number "
                               "for all four, each " +
                               std::to_string(FontBorders::kMin) + " to " +
                               std::to_string(FontBorders::kMax) + " pixels");
    }
    if (sides.size() == 1) {
        sides.assign(4, sides[0]);
    }
    document.project.fontBorders = FontBorders{sides[0], sides[1], sides[2], sides[3]};
    return Status::success();
}

}  // namespace vemro
