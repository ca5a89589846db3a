#include "session/document_fields.h"

#include <array>
#include <cstring>
#include <span>
#include <string>
#include <type_traits>

#include "engine/project/setting_choices.h"
#include "files/export/exporter.h"
#include "session/weight_choices.h"

namespace vemro {

namespace {

// The member a path of member pointers leads to from object: follow<&A::b, &B::c>(a) is a.b.c.
template <auto Member, auto... Rest>
constexpr auto& follow(auto& object) {
    if constexpr (sizeof...(Rest) == 0) {
        return object.*Member;
    } else {
        return follow<Rest...>(object.*Member);
    }
}

// A number, flag or choice at the end of a path, read and written as a number.
template <auto... Path>
FieldValue readNumber(const Document& document) {
    return static_cast<std::int32_t>(follow<Path...>(document));
}

template <auto... Path>
void writeNumber(Document& document, const FieldValue& value) {
    auto& field = follow<Path...>(document);
    field = static_cast<std::remove_reference_t<decltype(field)>>(std::get<std::int32_t>(value));
}

template <auto... Path>
FieldValue readColour(const Document& document) {
    return Rgba{follow<Path...>(document)};
}

template <auto... Path>
void writeColour(Document& document, const FieldValue& value) {
    follow<Path...>(document) = std::get<Rgba>(value).colour;
}

// The paths to the parts of a document.
constexpr auto kProject = &Document::project;
constexpr auto kFont = &Project::font;
constexpr auto kBorders = &Project::fontBorders;
constexpr auto kSize = &Project::textureSize;
constexpr auto kPacking = &Project::packing;
constexpr auto kEffects = &Project::effects;
constexpr auto kExport = &Document::exportSettings;

template <std::size_t N>
std::vector<FieldChoice> listOf(const std::array<SettingChoice, N>& choices) {
    std::vector<FieldChoice> list;
    for (const SettingChoice& choice : choices) {
        list.push_back({choice.value, choice.label});
    }
    return list;
}

std::vector<FieldChoice> sides() {
    std::vector<FieldChoice> list;
    for (const std::int32_t side : kTextureSideChoices) {
        list.push_back({side, std::to_string(side)});
    }
    return list;
}

std::vector<FieldChoice> packers() {
    return {{static_cast<std::int32_t>(PackerKind::Rows), "Rows"},
            {static_cast<std::int32_t>(PackerKind::Tight), "Tight"}};
}

// The formats in the order the export dialog lists them.
std::vector<FieldChoice> formats() {
    std::vector<FieldChoice> list;
    for (const Exporter* exporter : registeredExporters()) {
        list.push_back({static_cast<std::int32_t>(exporter->format()), exporter->displayName()});
    }
    return list;
}

std::vector<FieldChoice> pageImages() {
    return {{static_cast<std::int32_t>(PageImage::Png), "PNG 32-bit"},
            {static_cast<std::int32_t>(PageImage::Png8), "PNG 8-bit"},
            {static_cast<std::int32_t>(PageImage::Tga), "TGA 32-bit"}};
}

FieldValue readSample(const Document& document) {
    return document.sampleText;
}

void writeSample(Document& document, const FieldValue& value) {
    document.sampleText = std::get<std::string>(value);
}

FieldValue readShadowColour(const Document& document) {
    const EffectSettings& effects = document.project.effects;
    return Rgba{effects.shadowColour, effects.shadowOpacity};
}

void writeShadowColour(Document& document, const FieldValue& value) {
    const Rgba& colour = std::get<Rgba>(value);
    document.project.effects.shadowColour = colour.colour;
    document.project.effects.shadowOpacity = colour.alpha;
}

// A distance field has no colours, outline or shadow, and is drawn without supersampling.
bool notField(const Document& document) {
    return document.project.effects.distanceField == DistanceField::None;
}

bool outlineOn(const Document& document) {
    return notField(document) && document.project.effects.outline;
}

bool shadowOn(const Document& document) {
    return notField(document) && document.project.effects.shadow;
}

bool fieldOn(const Document& document) {
    return !notField(document);
}

// The .tfd format always writes its Targa image.
bool hasPageImage(const Document& document) {
    return document.exportSettings.format != DescriptorFormat::Tfd;
}

void writeFormat(Document& document, const FieldValue& value) {
    chooseExportFormat(document, static_cast<DescriptorFormat>(std::get<std::int32_t>(value)));
}

// Cells hold only their ink's rows where the descriptor gives each glyph a y offset.
bool hasYOffsets(const Document& document) {
    return describesYOffsets(document.exportSettings.format);
}

constexpr const char* kNoColours = "does not apply to distance fields";

using E = EffectSettings;
using K = FieldKind;

const std::array kFields{
    // Font.
    DocumentField{"qualityCombo", K::Choice, "Quality", 0, 0,
                  [] { return listOf(kQualityChoices); }, false,
                  readNumber<kProject, kFont, &FontSettings::quality>,
                  writeNumber<kProject, kFont, &FontSettings::quality>},
    DocumentField{"factorCombo", K::Choice, "Anti-aliasing", 0, 0,
                  [] { return listOf(kFactorChoices); }, false,
                  readNumber<kProject, kFont, &FontSettings::factor>,
                  writeNumber<kProject, kFont, &FontSettings::factor>, notField,
                  "Supersampling does not apply to distance fields"},
    DocumentField{"sizeSpin", K::Number, "Size", FontSettings::kMinSize, FontSettings::kMaxSize,
                  nullptr, false, readNumber<kProject, kFont, &FontSettings::size>,
                  writeNumber<kProject, kFont, &FontSettings::size>},
    DocumentField{"weightCombo", K::Choice, "Weight", 0, 0, [] { return listOf(kWeightChoices); },
                  false, readNumber<kProject, kFont, &FontSettings::weight>,
                  writeNumber<kProject, kFont, &FontSettings::weight>, nullptr, "", weightChoices},
    DocumentField{"italicCheck", K::Flag, "Italic", 0, 0, nullptr, false,
                  readNumber<kProject, kFont, &FontSettings::italic>,
                  writeNumber<kProject, kFont, &FontSettings::italic>},
    DocumentField{"borderLeftSpin", K::Number, "Font border", FontBorders::kMin, FontBorders::kMax,
                  nullptr, false, readNumber<kProject, kBorders, &FontBorders::left>,
                  writeNumber<kProject, kBorders, &FontBorders::left>},
    DocumentField{"borderRightSpin", K::Number, "Font border", FontBorders::kMin, FontBorders::kMax,
                  nullptr, false, readNumber<kProject, kBorders, &FontBorders::right>,
                  writeNumber<kProject, kBorders, &FontBorders::right>},
    DocumentField{"borderTopSpin", K::Number, "Font border", FontBorders::kMin, FontBorders::kMax,
                  nullptr, false, readNumber<kProject, kBorders, &FontBorders::top>,
                  writeNumber<kProject, kBorders, &FontBorders::top>},
    DocumentField{"borderBottomSpin", K::Number, "Font border", FontBorders::kMin,
                  FontBorders::kMax, nullptr, false,
                  readNumber<kProject, kBorders, &FontBorders::bottom>,
                  writeNumber<kProject, kBorders, &FontBorders::bottom>},
    // Texture, packing and export.
    DocumentField{"widthGroup", K::Choice, "Texture size", 0, 0, sides, false,
                  readNumber<kProject, kSize, &AtlasSize::width>,
                  writeNumber<kProject, kSize, &AtlasSize::width>},
    DocumentField{"heightGroup", K::Choice, "Texture size", 0, 0, sides, false,
                  readNumber<kProject, kSize, &AtlasSize::height>,
                  writeNumber<kProject, kSize, &AtlasSize::height>},
    DocumentField{"packerCombo", K::Choice, "Packer", 0, 0, packers, false,
                  readNumber<kProject, kPacking, &PackingSettings::packer>,
                  writeNumber<kProject, kPacking, &PackingSettings::packer>},
    DocumentField{"spacingSpin", K::Number, "Spacing", PackingSettings::kMinSpacing,
                  PackingSettings::kMaxSpacing, nullptr, false,
                  readNumber<kProject, kPacking, &PackingSettings::spacing>,
                  writeNumber<kProject, kPacking, &PackingSettings::spacing>},
    DocumentField{"fitSizeCheck", K::Flag, "Fit size", 0, 0, nullptr, false,
                  readNumber<kProject, kPacking, &PackingSettings::fitSize>,
                  writeNumber<kProject, kPacking, &PackingSettings::fitSize>},
    DocumentField{"multiplePagesCheck", K::Flag, "Several pages", 0, 0, nullptr, false,
                  readNumber<kProject, kPacking, &PackingSettings::multiplePages>,
                  writeNumber<kProject, kPacking, &PackingSettings::multiplePages>},
    DocumentField{"trimToInkCheck", K::Flag, "Trim cells to the ink", 0, 0, nullptr, false,
                  readNumber<kProject, kPacking, &PackingSettings::trimToInk>,
                  writeNumber<kProject, kPacking, &PackingSettings::trimToInk>, hasYOffsets},
    DocumentField{"exportFormatCombo", K::Choice, "Export format", 0, 0, formats, false,
                  readNumber<kExport, &ExportSettings::format>, writeFormat},
    DocumentField{"pageImageCombo", K::Choice, "Page image", 0, 0, pageImages, false,
                  readNumber<kExport, &ExportSettings::image>,
                  writeNumber<kExport, &ExportSettings::image>, hasPageImage},
    DocumentField{"kerningCheck", K::Flag, "Kerning pairs", 0, 0, nullptr, false,
                  readNumber<kProject, &Project::kerning>,
                  writeNumber<kProject, &Project::kerning>},
    // Effects.
    DocumentField{"fillColourButton", K::Colour, "Fill colour", 0, 0, nullptr, false,
                  readColour<kProject, kEffects, &E::fill>,
                  writeColour<kProject, kEffects, &E::fill>, notField, kNoColours},
    DocumentField{"outlineCheck", K::Flag, "Outline", 0, 0, nullptr, false,
                  readNumber<kProject, kEffects, &E::outline>,
                  writeNumber<kProject, kEffects, &E::outline>, notField},
    DocumentField{"outlineWidthSpin", K::Number, "Outline width", E::kMinOutlineWidth,
                  E::kMaxOutlineWidth, nullptr, false,
                  readNumber<kProject, kEffects, &E::outlineWidth>,
                  writeNumber<kProject, kEffects, &E::outlineWidth>, outlineOn},
    DocumentField{"outlineColourButton", K::Colour, "Outline colour", 0, 0, nullptr, false,
                  readColour<kProject, kEffects, &E::outlineColour>,
                  writeColour<kProject, kEffects, &E::outlineColour>, notField, kNoColours},
    DocumentField{"shadowCheck", K::Flag, "Shadow", 0, 0, nullptr, false,
                  readNumber<kProject, kEffects, &E::shadow>,
                  writeNumber<kProject, kEffects, &E::shadow>, notField},
    DocumentField{"shadowXSpin", K::Number, "Shadow offset", E::kMinShadowOffset,
                  E::kMaxShadowOffset, nullptr, false, readNumber<kProject, kEffects, &E::shadowX>,
                  writeNumber<kProject, kEffects, &E::shadowX>, shadowOn},
    DocumentField{"shadowYSpin", K::Number, "Shadow offset", E::kMinShadowOffset,
                  E::kMaxShadowOffset, nullptr, false, readNumber<kProject, kEffects, &E::shadowY>,
                  writeNumber<kProject, kEffects, &E::shadowY>, shadowOn},
    DocumentField{"shadowColourButton", K::Colour, "Shadow colour", 0, 0, nullptr, true,
                  readShadowColour, writeShadowColour, notField, kNoColours},
    DocumentField{"shadowBlurSpin", K::Number, "Shadow blur", E::kMinShadowBlur, E::kMaxShadowBlur,
                  nullptr, false, readNumber<kProject, kEffects, &E::shadowBlur>,
                  writeNumber<kProject, kEffects, &E::shadowBlur>, shadowOn},
    DocumentField{"distanceFieldCombo", K::Choice, "Distance field", 0, 0,
                  [] { return listOf(kDistanceFieldChoices); }, false,
                  readNumber<kProject, kEffects, &E::distanceField>,
                  writeNumber<kProject, kEffects, &E::distanceField>},
    DocumentField{"spreadSpin", K::Number, "Distance field spread", E::kMinSpread, E::kMaxSpread,
                  nullptr, false, readNumber<kProject, kEffects, &E::spread>,
                  writeNumber<kProject, kEffects, &E::spread>, fieldOn},
    // The sample line.
    DocumentField{"sampleTextEdit", K::Text, "Sample text", 0, 0, nullptr, false, readSample,
                  writeSample},
};

}  // namespace

std::span<const DocumentField> documentFields() {
    return kFields;
}

std::size_t fieldIndex(const char* control) {
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (std::strcmp(kFields[i].control, control) == 0) {
            return i;
        }
    }
    return kFields.size();
}

}  // namespace vemro
