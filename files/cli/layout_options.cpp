#include "files/cli/layout_options.h"

#include <optional>

#include "files/cli/option_arguments.h"
#include "files/export/exporter.h"

namespace vemro {

// --texture WxH: the texture's width and height, each 1..4096.
Status setTexture(const std::string& argument, Document& document, FontRenderer&) {
    const std::size_t x = argument.find('x');
    const std::optional<std::int32_t> width =
        x == std::string::npos ? std::nullopt
                               : wholeNumber(argument.substr(0, x), 1, AtlasSize::kMaxSide);
    const std::optional<std::int32_t> height =
        x == std::string::npos ? std::nullopt
                               : wholeNumber(argument.substr(x + 1), 1, AtlasSize::kMaxSide);
    if (!width || !height) {
        return Status::failure("\"" + argument +
                               "\" is not a texture size: give WIDTHxHEIGHT, each side 1 to " +
                               std::to_string(AtlasSize::kMaxSide) + " pixels");
    }
    document.project.textureSize = AtlasSize{*width, *height};
    return Status::success();
}

Status setFitSize(const std::string&, Document& document, FontRenderer&) {
    document.project.packing.fitSize = true;
    return Status::success();
}

Status setNoFitSize(const std::string&, Document& document, FontRenderer&) {
    document.project.packing.fitSize = false;
    return Status::success();
}

Status setMultiplePages(const std::string&, Document& document, FontRenderer&) {
    document.project.packing.multiplePages = true;
    return Status::success();
}

Status setOnePage(const std::string&, Document& document, FontRenderer&) {
    document.project.packing.multiplePages = false;
    return Status::success();
}

Status setTrimToInk(const std::string&, Document& document, FontRenderer&) {
    document.project.packing.trimToInk = true;
    return Status::success();
}

Status setWholeLineCells(const std::string&, Document& document, FontRenderer&) {
    document.project.packing.trimToInk = false;
    return Status::success();
}

// --packer rows|tight.
Status setPacker(const std::string& argument, Document& document, FontRenderer&) {
    if (argument == "rows") {
        document.project.packing.packer = PackerKind::Rows;
    } else if (argument == "tight") {
        document.project.packing.packer = PackerKind::Tight;
    } else {
        return Status::failure("\"" + argument + "\" is no packer: give rows or tight");
    }
    return Status::success();
}

// --spacing N: 0..16 pixels between cells.
Status setSpacing(const std::string& argument, Document& document, FontRenderer&) {
    const std::optional<std::int32_t> spacing =
        wholeNumber(argument, PackingSettings::kMinSpacing, PackingSettings::kMaxSpacing);
    if (!spacing) {
        return Status::failure("\"" + argument + "\" is not a spacing: give a whole number of " +
                               std::to_string(PackingSettings::kMinSpacing) + " to " +
                               std::to_string(PackingSettings::kMaxSpacing) + " pixels");
    }
    document.project.packing.spacing = *spacing;
    return Status::success();
}

// --format tfd|bmfont-text|bmfont-xml|bmfont-binary|json.
Status setFormat(const std::string& argument, Document& document, FontRenderer&) {
    const Exporter* format = findExporter(argument);
    if (format == nullptr) {
        return Status::failure("\"" + argument + "\" is no format: give " +
                               formatNames(", ", " or "));
    }
    document.exportSettings.format = format->format();
    return Status::success();
}

// --image png|png8|tga.
Status setImage(const std::string& argument, Document& document, FontRenderer&) {
    const std::optional<PageImage> image = pageImageNamed(argument);
    if (!image) {
        return Status::failure("\"" + argument + "\" is no page image: give png, png8 or tga");
    }
    document.exportSettings.image = *image;
    return Status::success();
}

Status keepKerning(const std::string&, Document& document, FontRenderer&) {
    document.project.kerning = true;
    return Status::success();
}

Status leaveOutKerning(const std::string&, Document& document, FontRenderer&) {
    document.project.kerning = false;
    return Status::success();
}

}  // namespace vemro
