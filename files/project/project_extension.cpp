#include "files/project/project_extension.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "files/project/effect_section.h"
#include "files/project/export_sections.h"
#include "files/project/fallback_section.h"
#include "files/project/glyph_sections.h"
#include "files/project/section_fields.h"
#include "files/project/settings_sections.h"

namespace vemro {

namespace {

constexpr const ProjectSection* kSections[] = {
    &kCharactersSection, &kFontSection,       &kTextureSizeSection, &kPackingSection,
    &kExportSection,     &kSampleTextSection, &kEffectsSection,     &kWeightSection,
    &kTrimSection,       &kFallbackSection,
};

constexpr std::string_view kSignature(kProjectExtensionSignature,
                                      sizeof(kProjectExtensionSignature) - 1);
constexpr std::size_t kVersionBytes = 4;
constexpr std::size_t kTagBytes = 4;
constexpr std::size_t kSectionHeaderBytes = kTagBytes + 4;  // tag and payload length

// A tag as a message shows it: in quotes, bytes outside printable ASCII as \xNN.
std::string tagName(const std::string& tag) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string name = "\"";
    for (const char c : tag) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\') {
            name += c;
        } else {
            name += "\\x";
            name += kDigits[byte >> 4];
            name += kDigits[byte & 0xF];
        }
    }
    return name + "\"";
}

// "\"CHRS\", \"FONT\", ... and \"EFCT\"".
std::string sectionNames() {
    const std::size_t count = std::size(kSections);
    std::string names;
    for (std::size_t i = 0; i < count; ++i) {
        names += (i == 0           ? "\""
                  : i + 1 == count ? " and \""
                                   : ", \"") +
                 std::string(kSections[i]->tag) + "\"";
    }
    return names;
}

bool written(const ProjectSection& section, const Document& document) {
    return section.requiredAs != nullptr || !section.isDefault(document);
}

}  // namespace

std::span<const ProjectSection* const> projectSections() {
    return kSections;
}

std::size_t maxProjectExtensionBytes() {
    std::size_t bytes = kSignature.size() + kVersionBytes;
    for (const ProjectSection* section : kSections) {
        bytes += kSectionHeaderBytes + section->maxPayloadBytes;
    }
    return bytes;
}

bool needsProjectExtension(const Document& document) {
    return std::any_of(
        std::begin(kSections), std::end(kSections),
        [&](const ProjectSection* section) { return !section->isDefault(document); });
}

void appendProjectExtension(ByteWriter& out, const Document& document) {
    out.text(kSignature);
    out.u32(kProjectExtensionVersion);
    for (const ProjectSection* section : kSections) {
        if (written(*section, document)) {
            out.text(std::string_view(section->tag, kTagBytes));
            out.lengthPrefixed([&] { section->write(out, document); });
        }
    }
}

bool startsProjectExtension(const ByteReader& in) {
    return in.startsWith(kSignature);
}

Result<Document> decodeProjectExtension(ByteReader& in, Document start) {
    using Decoded = Result<Document>;
    const std::size_t offset = in.position();
    in.skip(kSignature.size());
    if (!in.has(kVersionBytes)) {
        return Decoded::failure("the project extension at byte " + std::to_string(offset) +
                                " ends inside its " + std::to_string(kVersionBytes) +
                                "-byte version");
    }
    const std::uint32_t version = in.u32();
    if (version > kProjectExtensionVersion) {
        return Decoded::failure(
            "written by a newer version of Vemro Font builder (project extension version " +
            std::to_string(version) + "); this version reads version " +
            std::to_string(kProjectExtensionVersion));
    }
    if (version < kProjectExtensionVersion) {
        return Decoded::failure("the project extension version " + std::to_string(version) +
                                " does not exist; this version reads version " +
                                std::to_string(kProjectExtensionVersion));
    }

    Document document = std::move(start);
    bool seen[std::size(kSections)] = {};
    while (!in.atEnd()) {
        const std::size_t at = in.position();
        if (!in.has(kSectionHeaderBytes)) {
            return Decoded::failure("the file ends inside the header of the section at byte " +
                                    std::to_string(at) + " (" + std::to_string(in.remaining()) +
                                    " of its " + std::to_string(kSectionHeaderBytes) +
                                    " bytes are there)");
        }
        const std::string tag = in.text(kTagBytes);
        const std::uint32_t length = in.u32();
        const std::string name = tagName(tag);
        if (!in.has(length)) {
            return Decoded::failure("the section " + name + " at byte " + std::to_string(at) +
                                    " has a length of " + std::to_string(length) +
                                    " bytes, but the file ends " + std::to_string(in.remaining()) +
                                    " bytes after its header");
        }
        const auto known =
            std::find_if(std::begin(kSections), std::end(kSections),
                         [&tag](const ProjectSection* section) { return tag == section->tag; });
        if (known == std::end(kSections)) {
            return Decoded::failure("the section " + name + " at byte " + std::to_string(at) +
                                    " is unknown; project extension version " +
                                    std::to_string(kProjectExtensionVersion) +
                                    " has the sections " + sectionNames());
        }
        bool& wasSeen = seen[known - std::begin(kSections)];
        if (wasSeen) {
            return Decoded::failure("the section " + name + " appears a second time, at byte " +
                                    std::to_string(at) + "; each section may appear once");
        }
        wasSeen = true;
        const ProjectSection& section = **known;
        if (section.fixedLength && length != section.maxPayloadBytes) {
            return Decoded::failure(
                sectionLengthProblem(section.tag, length, section.maxPayloadBytes));
        }
        ByteReader payload = in.take(length);
        if (const std::optional<std::string> problem = section.read(payload, document)) {
            return Decoded::failure(*problem);
        }
    }
    for (std::size_t i = 0; i < std::size(kSections); ++i) {
        if (kSections[i]->requiredAs != nullptr && !seen[i]) {
            return Decoded::failure("the project extension has no section \"" +
                                    std::string(kSections[i]->tag) + "\" (" +
                                    kSections[i]->requiredAs + ", which it must hold)");
        }
    }
    // The values of the sections the file holds, those a read leaves to this check included; the
    // others are still the start's.
    for (std::size_t i = 0; i < std::size(kSections); ++i) {
        if (seen[i]) {
            if (std::optional<std::string> problem = kSections[i]->problem(document)) {
                return Decoded::failure(*problem);
            }
        }
    }
    return document;
}

std::optional<std::string> projectExtensionProblem(const Document& document) {
    for (const ProjectSection* section : kSections) {
        if (std::optional<std::string> problem = section->problem(document)) {
            return problem;
        }
    }
    return std::nullopt;
}

}  // namespace vemro
