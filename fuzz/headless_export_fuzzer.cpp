// Takes every project file the reader accepts through the whole headless export: the project is
// applied as File > Open applies it, the font is created, the atlas rebuilt, and both outputs are
// written into a temporary folder and removed again. The renderer lives across inputs, as it does
// for a session of the program, so its caches see many fonts in a row.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/atlas.h"
#include "engine/freetype_font_renderer.h"
#include "files/atlas_export.h"
#include "files/project_file.h"
#include "files/project_loader.h"

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "headless_export_fuzzer: %s\n", what.c_str());
    std::abort();
}

std::string& outputFolder() {
    static std::string folder;
    return folder;
}

void removeOutputFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(outputFolder(), ignored);
}

// Created once for the whole run and removed when the process exits normally.
const std::string& makeOutputFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vemro-export-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        fail("cannot create a temporary folder");
    }
    outputFolder() = pattern;
    std::atexit(removeOutputFolder);
    return outputFolder();
}

// The settings the window starts with; a stored value that matches nothing keeps these.
vemro::FontSettings startupSettings(const std::vector<std::string>& faces) {
    vemro::FontSettings settings;
    settings.faceName = faces.empty() ? std::string() : faces.front();
    return settings;
}

std::uintmax_t sizeOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        fail("the export did not leave a regular file at " + path);
    }
    return static_cast<std::uintmax_t>(info.st_size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static vemro::FreetypeFontRenderer renderer;
    static const std::string& folder = makeOutputFolder();

    const std::vector<std::uint8_t> bytes(data, data + size);
    const vemro::Result<vemro::ProjectFile> file = vemro::decodeProjectFile(bytes, "fuzz.fnt");
    if (!file) {
        return -1;  // only accepted files go on; keep rejected ones out of the corpus
    }

    const std::vector<std::string>& faces = renderer.faceNames();
    vemro::LoadedProject loaded = vemro::loadProject(file.value(), faces, startupSettings(faces));
    if (loaded.glyphs.size() != file->glyphs.size()) {
        fail("opening dropped or added glyph records");
    }

    vemro::Atlas atlas(renderer);
    if (!atlas.setTextureSize(loaded.textureSize)) {
        fail("the reader accepted a texture size the atlas refuses");
    }
    atlas.setFontBorders(loaded.fontBorders);
    atlas.glyphs() = std::move(loaded.glyphs);
    atlas.recreateFont(loaded.settings);
    atlas.rebuildAtlas(loaded.settings.factor);

    const std::string chosen = folder + "/out.fnt";
    const std::vector<std::string> failures = vemro::exportAtlas(chosen, atlas);
    for (const std::string& failure : failures) {
        fail("export failed: " + failure);
    }

    const std::string image = vemro::exportPath(chosen, ".tga");
    const std::string description = vemro::exportPath(chosen, ".tfd");
    const vemro::AtlasSize texture = atlas.textureSize();
    if (sizeOf(image) != 18u + 4u * static_cast<std::uintmax_t>(texture.width) *
                                   static_cast<std::uintmax_t>(texture.height)) {
        fail("the image has the wrong size for its texture");
    }
    if (sizeOf(description) != vemro::encodeGlyphDescription(texture, atlas.glyphs()).size()) {
        fail("the description on disk differs in length from its text");
    }
    ::unlink(image.c_str());
    ::unlink(description.c_str());
    return 0;
}
