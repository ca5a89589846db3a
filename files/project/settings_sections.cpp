#include "files/project/settings_sections.h"

#include "engine/project/setting_choices.h"
#include "files/project/project_file.h"
#include "files/project/section_fields.h"

namespace vemro {

namespace {

constexpr char kPackingTag[] = "PACK";
constexpr char kTrimTag[] = "TRIM";
constexpr std::size_t kTextureSizePayloadBytes = 8;  // width and height
constexpr std::size_t kPackingPayloadBytes = 7;      // packer, spacing and the two flags
constexpr std::size_t kWeightPayloadBytes = 4;

// Whether the header holds the weight: one of the three of a face of fixed weights.
bool headerHoldsWeight(std::int32_t weight) {
    return findChoice(kWeightChoices, weight).has_value();
}

std::optional<std::string> weightProblem(const Document& document) {
    return sectionRangeProblem(kWeightTag, "weight", document.project.font.weight,
                               FontSettings::kMinWeight, FontSettings::kMaxWeight);
}

std::optional<std::string> readWeight(ByteReader& payload, Document& document) {
    const std::int32_t weight = payload.i32();
    if (headerHoldsWeight(weight)) {
        return "the weight " + std::to_string(weight) + " in the section \"" + kWeightTag +
               "\" is one the header holds";
    }
    document.project.font.weight = weight;
    return weightProblem(document);
}

std::optional<std::string> textureSizeProblem(const Document& document) {
    const AtlasSize size = document.project.textureSize;
    if (auto problem = sectionRangeProblem(kTextureSizeTag, "texture width", size.width, 1,
                                           AtlasSize::kMaxSide)) {
        return problem;
    }
    return sectionRangeProblem(kTextureSizeTag, "texture height", size.height, 1,
                               AtlasSize::kMaxSide);
}

std::optional<std::string> readTextureSize(ByteReader& payload, Document& document) {
    AtlasSize& size = document.project.textureSize;
    size.width = payload.i32();
    size.height = payload.i32();
    return textureSizeProblem(document);
}

std::optional<std::string> packingProblem(const Document& document) {
    const PackingSettings& packing = document.project.packing;
    if (packing.packer != PackerKind::Rows && packing.packer != PackerKind::Tight) {
        return "the packer " + std::to_string(static_cast<int>(packing.packer)) +
               " is neither 0 (rows) nor 1 (tight)";
    }
    return sectionRangeProblem(kPackingTag, "spacing", packing.spacing,
                               PackingSettings::kMinSpacing, PackingSettings::kMaxSpacing);
}

void writePacking(ByteWriter& out, const Document& document) {
    const PackingSettings& packing = document.project.packing;
    out.u8(static_cast<std::uint8_t>(packing.packer));
    out.i32(packing.spacing);
    out.u8(packing.fitSize ? 1 : 0);
    out.u8(packing.multiplePages ? 1 : 0);
}

std::optional<std::string> readPacking(ByteReader& payload, Document& document) {
    const std::uint8_t packer = payload.u8();
    const std::int32_t spacing = payload.i32();
    const std::uint8_t fitSize = payload.u8();
    const std::uint8_t multiplePages = payload.u8();
    if (packer > static_cast<std::uint8_t>(PackerKind::Tight)) {
        return "the packer " + std::to_string(packer) +
               " in the section \"PACK\" is neither 0 (rows) nor 1 (tight)";
    }
    if (auto problem = sectionFlagProblem(kPackingTag, "fit size", fitSize)) {
        return problem;
    }
    if (auto problem = sectionFlagProblem(kPackingTag, "several pages", multiplePages)) {
        return problem;
    }
    PackingSettings& packing = document.project.packing;
    packing.packer = static_cast<PackerKind>(packer);
    packing.spacing = spacing;
    packing.fitSize = fitSize == 1;
    packing.multiplePages = multiplePages == 1;
    return packingProblem(document);
}

std::optional<std::string> readTrim(ByteReader& payload, Document& document) {
    const std::uint8_t trim = payload.u8();
    if (auto problem = sectionFlagProblem(kTrimTag, "trim", trim)) {
        return problem;
    }
    document.project.packing.trimToInk = trim == 1;
    return std::nullopt;
}

}  // namespace

const ProjectSection kTextureSizeSection{
    kTextureSizeTag,
    kTextureSizePayloadBytes,
    true,
    nullptr,
    [](const Document& document) {
        const AtlasSize size = document.project.textureSize;
        return size.width <= kMaxProjectHeaderTextureSide &&
               size.height <= kMaxProjectHeaderTextureSide;
    },
    [](ByteWriter& out, const Document& document) {
        out.i32(document.project.textureSize.width);
        out.i32(document.project.textureSize.height);
    },
    readTextureSize,
    textureSizeProblem,
};

const ProjectSection kPackingSection{
    kPackingTag,
    kPackingPayloadBytes,
    true,
    nullptr,
    [](const Document& document) {
        // Trimming has a section of its own.
        PackingSettings packing = document.project.packing;
        packing.trimToInk = false;
        return packing == PackingSettings{};
    },
    writePacking,
    readPacking,
    packingProblem,
};

const ProjectSection kWeightSection{
    kWeightTag,
    kWeightPayloadBytes,
    true,
    nullptr,
    [](const Document& document) { return headerHoldsWeight(document.project.font.weight); },
    [](ByteWriter& out, const Document& document) { out.i32(document.project.font.weight); },
    readWeight,
    weightProblem,
};

const ProjectSection kTrimSection{
    kTrimTag,
    1,
    true,
    nullptr,
    [](const Document& document) { return !document.project.packing.trimToInk; },
    [](ByteWriter& out, const Document& document) {
        out.u8(document.project.packing.trimToInk ? 1 : 0);
    },
    readTrim,
    [](const Document&) { return std::optional<std::string>(); },
};

}  // namespace vemro
