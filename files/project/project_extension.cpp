#include "files/project/project_extension.h"

#include <cstring>

#include "engine/text/unicode_text.h"
#include "files/io/character_name.h"
#include "files/io/little_endian.h"
#include "files/project/effect_section.h"
#include "files/project/export_sections.h"
#include "files/project/settings_sections.h"

namespace vemro {

namespace {

constexpr std::size_t kSignatureBytes = sizeof(kProjectExtensionSignature) - 1;
constexpr std::size_t kSectionHeaderBytes = 8;  // tag and payload length
constexpr std::size_t kCharacterBytes = 12;     // code point, left and right border
constexpr char kCharactersTag[] = "CHRS";
constexpr char kFontTag[] = "FONT";

std::string range(std::int64_t low, std::int64_t high) {
    return std::to_string(low) + ".." + std::to_string(high);
}

// A tag as a message shows it: in quotes, bytes outside printable ASCII as \xNN.
std::string tagName(const std::uint8_t* tag) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string name = "\"";
    for (std::size_t i = 0; i < 4; ++i) {
        const std::uint8_t byte = tag[i];
        if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\') {
            name += static_cast<char>(byte);
        } else {
            name += "\\x";
            name += kDigits[byte >> 4];
            name += kDigits[byte & 0xF];
        }
    }
    return name + "\"";
}

void putTag(std::vector<std::uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

bool isScalarValue(char32_t code) {
    return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

std::optional<std::string> borderProblem(std::size_t index, char32_t code, const char* side,
                                         std::int32_t border) {
    if (border >= kMinProjectCharBorder && border <= kMaxProjectCharBorder) {
        return std::nullopt;
    }
    return "character " + std::to_string(index + 1) + " of the character list (" +
           codePointName(code) + ") has a " + side + " character border of " +
           std::to_string(border) + ", outside the limit of " +
           range(kMinProjectCharBorder, kMaxProjectCharBorder);
}

std::string countProblem(std::uint64_t count) {
    return "the character count " + std::to_string(count) + " is above the limit of " +
           std::to_string(kMaxProjectCharacters);
}

std::string pathLengthProblem(std::uint64_t length) {
    return "the font file path length " + std::to_string(length) +
           " is outside the allowed range " + range(1, kMaxProjectFontPathLength);
}

// The payload of a CHRS section. Only the count is checked here; the values are checked with
// the rest of the extension.
std::optional<std::string> readCharacters(const std::vector<std::uint8_t>& bytes, std::size_t at,
                                          std::size_t length, ProjectExtension& extension) {
    if (length < 4) {
        return "the section \"CHRS\" is " + std::to_string(length) +
               " bytes long, too short for its 4-byte character count";
    }
    const std::uint32_t count = getUint32(bytes, at);
    if (count > static_cast<std::uint32_t>(kMaxProjectCharacters)) {
        return countProblem(count);
    }
    const std::size_t needed = 4 + kCharacterBytes * count;
    if (length != needed) {
        return "the section \"CHRS\" is " + std::to_string(length) + " bytes long, but " +
               std::to_string(count) + " characters take " + std::to_string(needed);
    }
    extension.characters.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = at + 4 + kCharacterBytes * i;
        extension.characters.push_back(ProjectCharacter{
            getUint32(bytes, entry), getInt32(bytes, entry + 4), getInt32(bytes, entry + 8)});
    }
    return std::nullopt;
}

// The payload of a FONT section.
std::optional<std::string> readFont(const std::vector<std::uint8_t>& bytes, std::size_t at,
                                    std::size_t length, ProjectExtension& extension) {
    if (length < 8) {
        return "the section \"FONT\" is " + std::to_string(length) +
               " bytes long, too short for its path length and face index";
    }
    const std::uint32_t pathLength = getUint32(bytes, at);
    if (pathLength < 1 || pathLength > static_cast<std::uint32_t>(kMaxProjectFontPathLength)) {
        return pathLengthProblem(pathLength);
    }
    const std::size_t needed = 4 + std::size_t{pathLength} + 4;
    if (length != needed) {
        return "the section \"FONT\" is " + std::to_string(length) + " bytes long, but a path of " +
               std::to_string(pathLength) + " bytes takes " + std::to_string(needed);
    }
    const auto path = bytes.begin() + static_cast<std::ptrdiff_t>(at + 4);
    extension.fontFile.assign(path, path + pathLength);
    extension.fontFaceIndex = getInt32(bytes, at + 4 + pathLength);
    return std::nullopt;
}

// The sections a reader knows, and where each goes in the extension.
struct SectionKind {
    const char* tag;
    std::optional<std::string> (*read)(const std::vector<std::uint8_t>& bytes, std::size_t at,
                                       std::size_t length, ProjectExtension& extension);
};

constexpr SectionKind kSections[] = {
    {kCharactersTag, readCharacters},
    {kFontTag, readFont},
    {kTextureSizeTag,
     [](const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t length,
        ProjectExtension& extension) {
         return readTextureSizeSection(bytes, at, length, extension.textureSize);
     }},
    {kPackingTag,
     [](const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t length,
        ProjectExtension& extension) {
         return readPackingSection(bytes, at, length, extension.packing);
     }},
    {kExportTag,
     [](const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t length,
        ProjectExtension& extension) {
         return readExportSection(bytes, at, length, extension.exportSection);
     }},
    {kSampleTextTag,
     [](const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t length,
        ProjectExtension& extension) {
         return readSampleTextSection(bytes, at, length, extension.sampleText);
     }},
    {kEffectsTag,
     [](const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t length,
        ProjectExtension& extension) {
         return readEffectsSection(bytes, at, length, extension.effects);
     }},
};
constexpr std::size_t kSectionCount = sizeof(kSections) / sizeof(kSections[0]);

// "\"CHRS\", \"FONT\", \"TXSZ\", \"PACK\", \"EXPO\", \"TEXT\" and \"EFCT\"".
std::string sectionNames() {
    std::string names;
    for (std::size_t i = 0; i < kSectionCount; ++i) {
        names += (i == 0                   ? "\""
                  : i + 1 == kSectionCount ? " and \""
                                           : ", \"") +
                 std::string(kSections[i].tag) + "\"";
    }
    return names;
}

}  // namespace

std::size_t maxProjectExtensionBytes() {
    return kSignatureBytes + 4 +
           (kSectionHeaderBytes + 4 + kCharacterBytes * kMaxProjectCharacters) +
           (kSectionHeaderBytes + 4 + kMaxProjectFontPathLength + 4) +
           (kSectionHeaderBytes + kTextureSizePayloadBytes) +
           (kSectionHeaderBytes + kPackingPayloadBytes) +
           (kSectionHeaderBytes + kExportPayloadBytes) +
           (kSectionHeaderBytes + kMaxSampleTextBytes) +
           (kSectionHeaderBytes + kEffectsPayloadBytes);
}

void appendProjectExtension(std::vector<std::uint8_t>& out, const ProjectExtension& extension) {
    out.insert(out.end(), kProjectExtensionSignature, kProjectExtensionSignature + kSignatureBytes);
    putUint32(out, kProjectExtensionVersion);

    putTag(out, kCharactersTag);
    putUint32(out, static_cast<std::uint32_t>(4 + kCharacterBytes * extension.characters.size()));
    putUint32(out, static_cast<std::uint32_t>(extension.characters.size()));
    for (const ProjectCharacter& character : extension.characters) {
        putUint32(out, character.code);
        putInt32(out, character.charBorderLeft);
        putInt32(out, character.charBorderRight);
    }

    if (!extension.fontFile.empty()) {
        putTag(out, kFontTag);
        putUint32(out, static_cast<std::uint32_t>(4 + extension.fontFile.size() + 4));
        putUint32(out, static_cast<std::uint32_t>(extension.fontFile.size()));
        out.insert(out.end(), extension.fontFile.begin(), extension.fontFile.end());
        putInt32(out, extension.fontFaceIndex);
    }
    if (extension.textureSize) {
        appendTextureSizeSection(out, *extension.textureSize);
    }
    if (extension.packing) {
        appendPackingSection(out, *extension.packing);
    }
    if (extension.exportSection) {
        appendExportSection(out, *extension.exportSection);
    }
    if (extension.sampleText) {
        appendSampleTextSection(out, *extension.sampleText);
    }
    if (extension.effects) {
        appendEffectsSection(out, *extension.effects);
    }
}

bool startsProjectExtension(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return offset <= bytes.size() && bytes.size() - offset >= kSignatureBytes &&
           std::memcmp(bytes.data() + offset, kProjectExtensionSignature, kSignatureBytes) == 0;
}

Result<ProjectExtension> decodeProjectExtension(const std::vector<std::uint8_t>& bytes,
                                                std::size_t offset) {
    using Decoded = Result<ProjectExtension>;
    const std::size_t end = bytes.size();
    std::size_t at = offset + kSignatureBytes;
    if (end - at < 4) {
        return Decoded::failure("the project extension at byte " + std::to_string(offset) +
                                " ends inside its 4-byte version");
    }
    const std::uint32_t version = getUint32(bytes, at);
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
    at += 4;

    ProjectExtension extension;
    bool seen[kSectionCount] = {};
    while (at < end) {
        if (end - at < kSectionHeaderBytes) {
            return Decoded::failure("the file ends inside the header of the section at byte " +
                                    std::to_string(at) + " (" + std::to_string(end - at) +
                                    " of its 8 bytes are there)");
        }
        const std::uint8_t* tag = bytes.data() + at;
        const std::uint32_t length = getUint32(bytes, at + 4);
        const std::size_t payload = at + kSectionHeaderBytes;
        const std::string name = tagName(tag);
        if (length > end - payload) {
            return Decoded::failure("the section " + name + " at byte " + std::to_string(at) +
                                    " has a length of " + std::to_string(length) +
                                    " bytes, but the file ends " + std::to_string(end - payload) +
                                    " bytes after its header");
        }
        std::size_t kind = 0;
        while (kind < kSectionCount && std::memcmp(tag, kSections[kind].tag, 4) != 0) {
            ++kind;
        }
        if (kind == kSectionCount) {
            return Decoded::failure("the section " + name + " at byte " + std::to_string(at) +
                                    " is unknown; project extension version " +
                                    std::to_string(kProjectExtensionVersion) +
                                    " has the sections " + sectionNames());
        }
        if (seen[kind]) {
            return Decoded::failure("the section " + name + " appears a second time, at byte " +
                                    std::to_string(at) + "; each section may appear once");
        }
        seen[kind] = true;
        if (const std::optional<std::string> problem =
                kSections[kind].read(bytes, payload, length, extension)) {
            return Decoded::failure(*problem);
        }
        at = payload + length;
    }
    if (!seen[0]) {
        return Decoded::failure(
            "the project extension has no section \"CHRS\" (the character list, which it must "
            "hold)");
    }
    if (const std::optional<std::string> problem = projectExtensionProblem(extension)) {
        return Decoded::failure(*problem);
    }
    return extension;
}

std::optional<std::string> projectExtensionProblem(const ProjectExtension& extension) {
    if (extension.characters.size() > static_cast<std::size_t>(kMaxProjectCharacters)) {
        return countProblem(extension.characters.size());
    }
    for (std::size_t i = 0; i < extension.characters.size(); ++i) {
        const ProjectCharacter& character = extension.characters[i];
        if (!isScalarValue(character.code)) {
            return "character " + std::to_string(i + 1) + " of the character list is " +
                   codePointName(character.code) +
                   ", not a Unicode character (allowed: U+0000..U+10FFFF without the surrogates "
                   "U+D800..U+DFFF)";
        }
        if (auto problem = borderProblem(i, character.code, "left", character.charBorderLeft)) {
            return problem;
        }
        if (auto problem = borderProblem(i, character.code, "right", character.charBorderRight)) {
            return problem;
        }
    }
    if (extension.textureSize) {
        if (auto problem = textureSizeProblem(*extension.textureSize)) {
            return problem;
        }
    }
    if (extension.packing) {
        if (auto problem = packingProblem(*extension.packing)) {
            return problem;
        }
    }
    if (extension.exportSection) {
        if (auto problem = exportSettingsProblem(extension.exportSection->settings)) {
            return problem;
        }
    }
    if (extension.sampleText) {
        if (auto problem = sampleTextProblem(*extension.sampleText)) {
            return problem;
        }
    }
    if (extension.effects) {
        if (auto problem = effectsProblem(*extension.effects)) {
            return problem;
        }
    }
    const std::string& path = extension.fontFile;
    if (path.empty()) {
        if (extension.fontFaceIndex != 0) {
            return "a font face index of " + std::to_string(extension.fontFaceIndex) +
                   " is given without a font file";
        }
        return std::nullopt;
    }
    if (path.size() > static_cast<std::size_t>(kMaxProjectFontPathLength)) {
        return pathLengthProblem(path.size());
    }
    if (const std::size_t zero = path.find('\0'); zero != std::string::npos) {
        return "the font file path holds a zero byte at byte " + std::to_string(zero) +
               " of the path";
    }
    if (const Result<std::vector<char32_t>> decoded = decodeUtf8(path); !decoded) {
        return "the font file path is not UTF-8: " + decoded.message();
    }
    if (extension.fontFaceIndex < 0 || extension.fontFaceIndex > kMaxProjectFontFaceIndex) {
        return "the font face index " + std::to_string(extension.fontFaceIndex) +
               " is outside the allowed range " + range(0, kMaxProjectFontFaceIndex);
    }
    return std::nullopt;
}

}  // namespace vemro
