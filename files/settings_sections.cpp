#include "files/settings_sections.h"

#include "files/little_endian.h"

namespace vemro {

namespace {

std::string range(std::int64_t low, std::int64_t high) {
    return std::to_string(low) + ".." + std::to_string(high);
}

std::string lengthProblem(const char* tag, std::size_t length, std::size_t needed) {
    return std::string("the section \"") + tag + "\" is " + std::to_string(length) +
           " bytes long; it takes exactly " + std::to_string(needed);
}

void putTag(std::vector<std::uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

std::optional<std::string> flagProblem(const char* what, std::uint8_t value) {
    if (value <= 1) {
        return std::nullopt;
    }
    return std::string("the ") + what + " flag " + std::to_string(value) +
           " in the section \"PACK\" is neither 0 nor 1";
}

}  // namespace

void appendTextureSizeSection(std::vector<std::uint8_t>& out, AtlasSize size) {
    putTag(out, kTextureSizeTag);
    putUint32(out, kTextureSizePayloadBytes);
    putInt32(out, size.width);
    putInt32(out, size.height);
}

void appendPackingSection(std::vector<std::uint8_t>& out, const PackingSettings& packing) {
    putTag(out, kPackingTag);
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
        return lengthProblem(kTextureSizeTag, length, kTextureSizePayloadBytes);
    }
    size = AtlasSize{getInt32(bytes, at), getInt32(bytes, at + 4)};
    return textureSizeProblem(*size);
}

std::optional<std::string> readPackingSection(const std::vector<std::uint8_t>& bytes,
                                              std::size_t at, std::size_t length,
                                              std::optional<PackingSettings>& packing) {
    if (length != kPackingPayloadBytes) {
        return lengthProblem(kPackingTag, length, kPackingPayloadBytes);
    }
    const std::uint8_t packer = bytes[at];
    if (packer > static_cast<std::uint8_t>(PackerKind::Tight)) {
        return "the packer " + std::to_string(packer) +
               " in the section \"PACK\" is neither 0 (rows) nor 1 (tight)";
    }
    if (auto problem = flagProblem("fit size", bytes[at + 5])) {
        return problem;
    }
    if (auto problem = flagProblem("several pages", bytes[at + 6])) {
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
    if (!AtlasSize::isValidSide(size.width)) {
        return "the texture width " + std::to_string(size.width) +
               " in the section \"TXSZ\" is outside the allowed range " +
               range(1, AtlasSize::kMaxSide);
    }
    if (!AtlasSize::isValidSide(size.height)) {
        return "the texture height " + std::to_string(size.height) +
               " in the section \"TXSZ\" is outside the allowed range " +
               range(1, AtlasSize::kMaxSide);
    }
    return std::nullopt;
}

std::optional<std::string> packingProblem(const PackingSettings& packing) {
    if (packing.packer != PackerKind::Rows && packing.packer != PackerKind::Tight) {
        return "the packer " + std::to_string(static_cast<int>(packing.packer)) +
               " is neither 0 (rows) nor 1 (tight)";
    }
    if (packing.spacing < PackingSettings::kMinSpacing ||
        packing.spacing > PackingSettings::kMaxSpacing) {
        return "the spacing " + std::to_string(packing.spacing) +
               " in the section \"PACK\" is outside the allowed range " +
               range(PackingSettings::kMinSpacing, PackingSettings::kMaxSpacing);
    }
    return std::nullopt;
}

}  // namespace vemro
