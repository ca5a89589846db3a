// Takes every project file the reader accepts through the whole headless export: the project is
// applied as File > Open and --export apply it, the atlas rebuilt, and every registered export
// format writes its files into a temporary folder, where they are checked and removed again. The
// renderer lives across inputs, as it does for a session of the program, so its caches see many
// fonts in a row.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/atlas_builder.h"
#include "engine/freetype_font_renderer.h"
#include "engine/project.h"
#include "files/exporter.h"
#include "files/glyph_description.h"
#include "files/project_file.h"
#include "files/project_opener.h"

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

    const vemro::OpenedProject opened = vemro::applyProjectFile(
        file.value(), renderer.faceNames(), vemro::startupProject(renderer.defaultFaceName()));
    if (opened.project.glyphs.size() != file->glyphs.size()) {
        fail("opening dropped or added glyph records");
    }
    if (!(vemro::projectFileFor(opened.project).glyphs == file->glyphs)) {
        fail("the opened glyphs do not store back as the records they came from");
    }

    // A builder per input: each file is a session of its own, as --export runs it.
    vemro::AtlasBuilder builder(renderer);
    const std::shared_ptr<const vemro::AtlasResult> result = builder.rebuild(opened.project);
    const vemro::AtlasSize texture = result->textureSize;
    if (!(texture == opened.project.textureSize) || result->pages.empty() ||
        result->glyphs.size() != opened.project.glyphs.size()) {
        fail("the atlas does not match the project it was built from");
    }

    const std::string chosen = folder + "/out.fnt";
    for (const vemro::Exporter* exporter : vemro::registeredExporters()) {
        const vemro::ExportReport report = exporter->write(chosen, opened.project, *result);
        for (const std::string& failure : report.failures) {
            fail(exporter->name() + " export failed: " + failure);
        }
        const std::vector<std::string> files = exporter->outputFiles(chosen, *result);
        if (report.written != files) {
            fail(exporter->name() + " wrote other files than it names");
        }
        for (const std::string& path : files) {
            sizeOf(path);
        }
        if (exporter->name() == "tfd") {
            if (sizeOf(files[0]) != 18u + 4u * static_cast<std::uintmax_t>(texture.width) *
                                              static_cast<std::uintmax_t>(texture.height)) {
                fail("the image has the wrong size for its texture");
            }
            if (sizeOf(files[1]) != vemro::encodeGlyphDescription(*result).size()) {
                fail("the description on disk differs in length from its text");
            }
        }
        for (const std::string& path : files) {
            ::unlink(path.c_str());
        }
    }
    return 0;
}
