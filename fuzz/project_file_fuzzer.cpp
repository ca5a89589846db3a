// Feeds arbitrary bytes to the project file decoder. Every accepted file must keep every limit,
// its glyph records must be those its extension's character list gives, and it must encode to
// bytes that decode to the same value (the extension included); encoding that value again must
// give the same bytes.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "files/project/effect_section.h"
#include "files/project/project_file.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "project_file_fuzzer: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    const vemro::Result<vemro::ProjectFile> decoded = vemro::decodeProjectFile(bytes, "fuzz.fnt");
    if (!decoded) {
        if (decoded.message().rfind("cannot open \"fuzz.fnt\": ", 0) != 0) {
            fail("a rejection does not name the file");
        }
        return 0;
    }
    const vemro::ProjectFile& project = decoded.value();
    if (project.glyphs.size() > static_cast<std::size_t>(vemro::kMaxProjectGlyphs) ||
        project.faceName.size() > static_cast<std::size_t>(vemro::kMaxProjectFaceNameLength) ||
        project.textureWidth < 1 || project.textureWidth > vemro::kMaxProjectHeaderTextureSide ||
        project.textureHeight < 1 || project.textureHeight > vemro::kMaxProjectHeaderTextureSide) {
        fail("an accepted file is past a limit");
    }
    if (project.extension) {
        const vemro::Project& extension = project.extension->project;
        if (extension.glyphs.size() > static_cast<std::size_t>(vemro::kMaxProjectCharacters) ||
            extension.font.fontFile.size() >
                static_cast<std::size_t>(vemro::kMaxProjectFontPathLength)) {
            fail("an accepted extension is past a limit");
        }
        for (const vemro::Glyph& character : extension.glyphs) {
            if (character.code > 0x10FFFF ||
                (character.code >= 0xD800 && character.code <= 0xDFFF)) {
                fail("an accepted extension holds a code point that is no Unicode character");
            }
        }
        // The true sides, when one is above what the header holds.
        const vemro::AtlasSize size = extension.textureSize;
        if (std::max(size.width, size.height) > vemro::kMaxProjectHeaderTextureSide &&
            (!vemro::AtlasSize::isValidSide(size.width) ||
             !vemro::AtlasSize::isValidSide(size.height) ||
             project.textureWidth != std::min(size.width, vemro::kMaxProjectHeaderTextureSide) ||
             project.textureHeight != std::min(size.height, vemro::kMaxProjectHeaderTextureSide))) {
            fail("an accepted texture size is past its limit or disagrees with the header");
        }
        if (extension.packing.spacing < vemro::PackingSettings::kMinSpacing ||
            extension.packing.spacing > vemro::PackingSettings::kMaxSpacing ||
            static_cast<int>(extension.packing.packer) > 1) {
            fail("accepted packing settings are past a limit");
        }
        if (vemro::effectsProblem(extension.effects)) {
            fail("accepted effects are past a limit");
        }
        if (!(vemro::windows1252Records(extension.glyphs) == project.glyphs)) {
            fail("the glyph records of an accepted file disagree with its character list");
        }
    }

    const std::vector<std::uint8_t> encoded = vemro::encodeProjectFile(project);
    if (encoded.size() > bytes.size()) {
        fail("the value of an accepted file encodes to more bytes than the file holds");
    }
    const vemro::Result<vemro::ProjectFile> again = vemro::decodeProjectFile(encoded, "again.fnt");
    if (!again) {
        std::fprintf(stderr, "%s\n", again.message().c_str());
        fail("the encoding of an accepted file is rejected");
    }
    if (!(again.value() == project)) {
        fail("the encoding of an accepted file decodes to a different value");
    }
    if (vemro::encodeProjectFile(again.value()) != encoded) {
        fail("encoding is not stable");
    }
    return 0;
}
