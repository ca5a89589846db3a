#include "files/cli/export_options.h"

#include <algorithm>
#include <array>

#include "files/export/exporter.h"
#include "files/io/character_file.h"
#include "files/io/regular_file.h"
#include "files/project/font_file_path.h"
#include "files/project/project_file.h"

namespace vemro {

namespace {

// --chars-from FILE: the file's characters join the project's list after the ones it has; a
// character already there keeps its place and borders.
Status addCharactersFrom(const std::string& argument, Document& document, FontRenderer&) {
    const Result<std::vector<char32_t>> characters = readCharacterFile(argument);
    if (!characters) {
        return Status::failure(characters.message());
    }
    std::size_t total = document.project.glyphs.size();
    for (const char32_t code : characters.value()) {
        total += document.project.glyphs.contains(code) ? 0 : 1;
    }
    if (total > static_cast<std::size_t>(kMaxProjectCharacters)) {
        return Status::failure("with the characters of \"" + argument +
                               "\" the project would hold " + std::to_string(total) +
                               " characters, above the limit of " +
                               std::to_string(kMaxProjectCharacters));
    }
    for (const char32_t code : characters.value()) {
        document.project.glyphs.addCharacter(code);
    }
    return Status::success();
}

// --font-file PATH: the first face of the file instead of the project's face; the face name
// becomes the file's family, which a rebuild falls back on should the file go away.
Status useFontFile(const std::string& argument, Document& document, FontRenderer& renderer) {
    const std::string path = resolveFontFilePath(argument, std::string());
    // A named pipe or a device would block or never end when read as a font; nothing reads it.
    if (const std::optional<std::string> problem = regularFileProblem(path);
        problem == "it is not a regular file") {
        return Status::failure("the font file \"" + path + "\" could not be opened: " + *problem);
    }
    const Result<std::vector<FontFileFace>> faces = renderer.inspectFontFile(path);
    if (!faces) {
        return Status::failure(faces.message());
    }
    const auto first = std::find_if(faces->begin(), faces->end(),
                                    [](const FontFileFace& face) { return face.index == 0; });
    if (first == faces->end()) {
        return Status::failure("the font file \"" + path + "\" holds no face");
    }
    document.project.font.fontFile = path;
    document.project.font.fontFaceIndex = 0;
    document.project.font.faceName = first->familyName;
    return Status::success();
}

// "1 to 16": a range as messages and the help lines give it.
std::string span(std::int32_t low, std::int32_t high) {
    return std::to_string(low) + " to " + std::to_string(high);
}

// A whole decimal number from low to high, or nothing: digits only, no sign, no spaces.
std::optional<std::int32_t> wholeNumber(const std::string& text, std::int32_t low,
                                        std::int32_t high) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const std::int32_t value = std::stoi(text);
    if (value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

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

Status setMultiplePages(const std::string&, Document& document, FontRenderer&) {
    document.project.packing.multiplePages = true;
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

// --format NAME, a name of the format table.
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

Status leaveOutKerning(const std::string&, Document& document, FontRenderer&) {
    document.project.kerning = false;
    return Status::success();
}

// A whole decimal number from low to high with an optional minus sign, or nothing.
std::optional<std::int32_t> signedNumber(const std::string& text, std::int32_t low,
                                         std::int32_t high) {
    const bool negative = text.starts_with("-");
    const std::optional<std::int32_t> size =
        wholeNumber(negative ? text.substr(1) : text, 0, std::max(-low, high));
    if (!size) {
        return std::nullopt;
    }
    const std::int32_t value = negative ? -*size : *size;
    return value >= low && value <= high ? std::optional(value) : std::nullopt;
}

// Bytes written as pairs of hexadecimal digits ("FF8000"), exactly `count` of them.
std::optional<std::vector<std::uint8_t>> hexBytes(const std::string& text, std::size_t count) {
    if (text.size() != 2 * count ||
        text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < count; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(2 * i, 2), nullptr, 16)));
    }
    return bytes;
}

std::optional<Rgb> colourNamed(const std::string& text) {
    const auto bytes = hexBytes(text, 3);
    return bytes ? std::optional(Rgb{(*bytes)[0], (*bytes)[1], (*bytes)[2]}) : std::nullopt;
}

// The parts of a comma-separated argument.
std::vector<std::string> commaParts(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos;
         start = comma + 1) {
        parts.push_back(text.substr(start, comma - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

// --fill RRGGBB.
Status setFill(const std::string& argument, Document& document, FontRenderer&) {
    const std::optional<Rgb> colour = colourNamed(argument);
    if (!colour) {
        return Status::failure("\"" + argument +
                               "\" is not a colour: give six hexadecimal digits RRGGBB");
    }
    document.project.effects.fill = *colour;
    return Status::success();
}

// --outline W[,RRGGBB]: an outline instead of a distance field.
Status setOutline(const std::string& argument, Document& document, FontRenderer&) {
    using E = EffectSettings;
    const std::vector<std::string> parts = commaParts(argument);
    const std::optional<std::int32_t> width =
        wholeNumber(parts[0], E::kMinOutlineWidth, E::kMaxOutlineWidth);
    const std::optional<Rgb> colour = parts.size() == 2
                                          ? colourNamed(parts[1])
                                          : std::optional(document.project.effects.outlineColour);
    if (parts.size() > 2 || !width || !colour) {
        return Status::failure("\"" + argument + "\" is not an outline: give a width of " +
                               std::to_string(E::kMinOutlineWidth) + " to " +
                               std::to_string(E::kMaxOutlineWidth) +
                               " pixels, and after a comma a colour RRGGBB if wanted");
    }
    EffectSettings& effects = document.project.effects;
    effects.outline = true;
    effects.outlineWidth = *width;
    effects.outlineColour = *colour;
    effects.distanceField = DistanceField::None;
    return Status::success();
}

// --shadow DX,DY,BLUR[,RRGGBBAA]: a shadow instead of a distance field.
Status setShadow(const std::string& argument, Document& document, FontRenderer&) {
    using E = EffectSettings;
    const std::vector<std::string> parts = commaParts(argument);
    const bool counted = parts.size() == 3 || parts.size() == 4;
    const std::optional<std::int32_t> x =
        counted ? signedNumber(parts[0], E::kMinShadowOffset, E::kMaxShadowOffset) : std::nullopt;
    const std::optional<std::int32_t> y =
        counted ? signedNumber(parts[1], E::kMinShadowOffset, E::kMaxShadowOffset) : std::nullopt;
    const std::optional<std::int32_t> blur =
        counted ? wholeNumber(parts[2], E::kMinShadowBlur, E::kMaxShadowBlur) : std::nullopt;
    const std::optional<std::vector<std::uint8_t>> colour =
        parts.size() == 4 ? hexBytes(parts[3], 4) : std::nullopt;
    if (!x || !y || !blur || (parts.size() == 4 && !colour)) {
        return Status::failure(
            "\"" + argument + "\" is not a shadow: give DX,DY,BLUR with offsets of " +
            span(E::kMinShadowOffset, E::kMaxShadowOffset) + " and a blur of " +
            span(E::kMinShadowBlur, E::kMaxShadowBlur) +
            " pixels, and after a comma a colour and opacity RRGGBBAA if wanted");
    }
    EffectSettings& effects = document.project.effects;
    effects.shadow = true;
    effects.shadowX = *x;
    effects.shadowY = *y;
    effects.shadowBlur = *blur;
    if (colour) {
        effects.shadowColour = Rgb{(*colour)[0], (*colour)[1], (*colour)[2]};
        effects.shadowOpacity = (*colour)[3];
    }
    effects.distanceField = DistanceField::None;
    return Status::success();
}

// --sdf SPREAD: a distance field instead of coverage, outline and shadow.
Status setDistanceField(const std::string& argument, Document& document, FontRenderer&) {
    using E = EffectSettings;
    const std::optional<std::int32_t> spread = wholeNumber(argument, E::kMinSpread, E::kMaxSpread);
    if (!spread) {
        return Status::failure("\"" + argument + "\" is not a spread: give a whole number of " +
                               std::to_string(E::kMinSpread) + " to " +
                               std::to_string(E::kMaxSpread) + " pixels");
    }
    EffectSettings& effects = document.project.effects;
    effects.distanceField = DistanceField::Sdf;
    effects.spread = *spread;
    effects.outline = false;
    effects.shadow = false;
    return Status::success();
}

const std::array<ExportOption, 14>& optionTable() {
    using E = EffectSettings;
    static const std::array<ExportOption, 14> kExportOptions{{
        {"--chars-from", "FILE", "add the characters of a UTF-8 text file for this export",
         addCharactersFrom, ExportOptionFailure::input},
        {"--font-file", "PATH",
         "draw with the first face of a font file instead of the project's face", useFontFile,
         ExportOptionFailure::input},
        {"--texture", "WxH",
         "the texture's width and height (each " + span(1, AtlasSize::kMaxSide) +
             "), e.g. 1024x512",
         setTexture, ExportOptionFailure::usage},
        {"--fit", "",
         "use the smallest power-of-two texture up to that size that holds every glyph", setFitSize,
         ExportOptionFailure::usage},
        {"--pages", "", "glyphs that do not fit start another page of the same size",
         setMultiplePages, ExportOptionFailure::usage},
        {"--packer", "rows|tight", "pack cells in rows in list order, or tightly by height",
         setPacker, ExportOptionFailure::usage},
        {"--spacing", "N",
         "empty pixels between cells, " +
             span(PackingSettings::kMinSpacing, PackingSettings::kMaxSpacing),
         setSpacing, ExportOptionFailure::usage},
        {"--format", formatNames("|", "|"),
         "the descriptor to write (default: the project's choice, else " +
             registeredExporters().front()->name() + ")",
         setFormat, ExportOptionFailure::usage},
        {"--image", "png|png8|tga",
         "the page images of the BMFont and JSON formats: 32-bit PNG, 8-bit PNG or TGA", setImage,
         ExportOptionFailure::usage},
        {"--no-kerning", "", "leave the kerning pairs out of the descriptor", leaveOutKerning,
         ExportOptionFailure::usage},
        {"--fill", "RRGGBB", "the glyphs' colour (pages become 32-bit colour unless it is FFFFFF)",
         setFill, ExportOptionFailure::usage},
        {"--outline", "W[,RRGGBB]",
         "an outline W pixels wide (" + span(E::kMinOutlineWidth, E::kMaxOutlineWidth) +
             "), black or of the colour given",
         setOutline, ExportOptionFailure::usage},
        {"--shadow", "DX,DY,BLUR[,RRGGBBAA]",
         "a shadow moved by DX,DY (" + span(E::kMinShadowOffset, E::kMaxShadowOffset) +
             ") and blurred by BLUR (" + span(E::kMinShadowBlur, E::kMaxShadowBlur) + ") pixels",
         setShadow, ExportOptionFailure::usage},
        {"--sdf", "SPREAD",
         "a signed distance field reaching SPREAD (" + span(E::kMinSpread, E::kMaxSpread) +
             ") pixels from the outline",
         setDistanceField, ExportOptionFailure::usage},
    }};
    return kExportOptions;
}

}  // namespace

std::span<const ExportOption> exportOptions() {
    return optionTable();
}

Result<std::vector<ExportOverride>> parseExportOptions(std::span<const std::string> args,
                                                       std::span<const ExportOption> table) {
    using Parsed = Result<std::vector<ExportOverride>>;
    std::vector<ExportOverride> overrides;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("-")) {
            return Parsed::failure("--export takes a project file and an output path");
        }
        const auto option = std::find_if(table.begin(), table.end(),
                                         [&arg](const ExportOption& o) { return arg == o.name; });
        if (option == table.end()) {
            return Parsed::failure("unknown option \"" + arg + "\"");
        }
        ExportOverride given{&*option, std::string()};
        if (!option->placeholder.empty()) {
            if (i + 1 == args.size()) {
                return Parsed::failure("\"" + arg + "\" needs an argument (" + option->placeholder +
                                       ")");
            }
            given.argument = args[++i];
        }
        overrides.push_back(std::move(given));
    }
    return overrides;
}

std::optional<ExportOverrideFailure> applyExportOverrides(
    const std::vector<ExportOverride>& overrides, Document& document, FontRenderer& renderer) {
    for (const ExportOverride& given : overrides) {
        const Status applied = given.option->apply(given.argument, document, renderer);
        if (!applied) {
            return ExportOverrideFailure{std::string(given.option->name) + ": " + applied.message(),
                                         given.option->failure};
        }
    }
    return std::nullopt;
}

}  // namespace vemro
