#include "files/project/settings_sections.h"

#include "files/io/little_endian.h"
#include "files/project/section_fields.h"

namespace vemro {

void appendTextureSizeSection(std::vector<std::uint8_t>& out, AtlasSize size) {
    putSectionTag(out, kTextureSizeTag);
    putUint32(out, kTextureSizePayloadBytes);
    putInt32(out, size.width);
    putInt32(out, size.height);
}

void appendPackingSection(std::vector<std::uint8_t>& out, const PackingSettings& packing) {
    putSectionTag(out, kPackingTag);
    putUint32(out, kPackingPayloadBytes);
    out.push_back(static_cast<std::uint8_t>(packing.packer));
    putInt32(out, packing.spacing);
    out.push_back(packing.fitSize ? 1 : 0);
    out.push_back(packing.multiplePages ? 1 : 0);
}

std::optional<std::string> readTextureSizeSection(const std::vector<std::uint8_t>& bytes,
                                                  std::size_t at, std::size_t length,
                                                  std::optional<AtlasSize>& size) {
    if (length != kTextureSizePayloadBytes) {
        return sectionLengthProblem(kTextureSizeTag, length, kTextureSizePayloadBytes);
    }
    size = AtlasSize{getInt32(bytes, at), getInt32(bytes, at + 4)};
    return textureSizeProblem(*size);
}

std::optional<std::string> readPackingSection(const std::vector<std::uint8_t>& bytes,
                                              std::size_t at, std::size_t length,
                                              std::optional<PackingSettings>& packing) {
    if (length != kPackingPayloadBytes) {
        return sectionLengthProblem(kPackingTag, length, kPackingPayloadBytes);
    }
    const std::uint8_t packer = bytes[at];
    if (packer > static_cast<std::uint8_t>(PackerKind::Tight)) {
        return "the packer " + std::to_string(packer) +
               " in the section \"PACK\" is neither 0 (rows) nor 1 (tight)";
    }
    if (auto problem = sectionFlagProblem(kPackingTag, "fit size", bytes[at + 5])) {
        return problem;
    }
    if (auto problem = sectionFlagProblem(kPackingTag, "several pages", bytes[at + 6])) {
        return problem;
    }
    PackingSettings read;
    read.packer = static_cast<PackerKind>(packer);
    read.spacing = getInt32(bytes, at + 1);
    read.fitSize = bytes[at + 5] == 1;
    read.multiplePages = bytes[at + 6] == 1;
    packing = read;
    return packingProblem(read);
}

std::optional<std::string> textureSizeProblem(AtlasSize size) {
    if (auto problem = sectionRangeProblem(kTextureSizeTag, "texture width", size.width, 1,
                                           AtlasSize::kMaxSide)) {
        return problem;
    }
    return sectionRangeProblem(kTextureSizeTag, "texture height", size.height, 1,
                               AtlasSize::kMaxSide);
}

std::optional<std::string> packingProblem(const PackingSettings& packing) {
    if (packing.packer != PackerKind::Rows && packing.packer != PackerKind::Tight) {
        return "the packer " + std::to_string(static_cast<int>(packing.packer)) +
               " is neither 0 (rows) nor 1 (tight)";
    }
    return sectionRangeProblem(kPackingTag, "spacing", packing.spacing,
                               PackingSettings::kMinSpacing, PackingSettings::kMaxSpacing);
}

}  // namespace vemro
