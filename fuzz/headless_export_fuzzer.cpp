// Takes every project file the reader accepts through the whole headless export: the project is
// applied as File > Open and --export apply it (as a file in a temporary folder, against which
// relative font file paths resolve), the atlas rebuilt, and every registered export format writes
// its files into that folder, where they are checked and removed again. The opened project must
// store back to a file that opens as the same project. The renderer lives across inputs, as it
// does for a session of the program, so its caches see many fonts in a row.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/atlas/atlas_builder.h"
#include "engine/font/freetype_font_renderer.h"
#include "engine/pack/pack_options.h"
#include "engine/project/project.h"
#include "files/export/exporter.h"
#include "files/export/glyph_description.h"
#include "files/project/project_file.h"
#include "files/project/project_opener.h"

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

    const std::string projectPath = folder + "/project.fnt";
    const vemro::Project fallback = vemro::startupProject(renderer.defaultFaceName());
    const vemro::OpenedProject opened =
        vemro::applyProjectFile(file.value(), renderer.faceNames(), fallback, projectPath);
    const vemro::Document& document = opened.document;
    const vemro::Project& project = document.project;
    const std::size_t stored =
        file->extension ? file->extension->project.glyphs.size() : file->glyphs.size();
    if (project.glyphs.size() != stored) {
        fail("opening dropped or added glyphs");
    }
    const vemro::ProjectFile storedBack = vemro::projectFileFor(document, projectPath);
    if (!(storedBack.glyphs == file->glyphs)) {
        fail("the opened glyphs do not store back as the records they came from");
    }
    // A relative font path that climbs out of the project's folder is stored absolute, and may
    // then be longer than the limit; saving refuses that project, and only that one.
    const bool storable =
        !storedBack.extension || storedBack.extension->project.font.fontFile.size() <=
                                     static_cast<std::size_t>(vemro::kMaxProjectFontPathLength);
    const vemro::Result<vemro::ProjectFile> reread =
        vemro::decodeProjectFile(vemro::encodeProjectFile(storedBack), "stored.fnt");
    if (storable && !reread) {
        fail("the opened project stores to a file that is refused: " + reread.message());
    }
    if (storable &&
        !(vemro::applyProjectFile(reread.value(), renderer.faceNames(), fallback, projectPath)
              .document == document)) {
        fail("the opened project, stored and opened again, is another project");
    }

    // The engine takes the values as they come: opening must have brought them into range.
    if (!vemro::withinRanges(project)) {
        fail("the opened project holds a value outside its range");
    }

    // A builder per input: each file is a session of its own, as --export runs it.
    vemro::AtlasBuilder builder(renderer);
    const std::shared_ptr<const vemro::AtlasResult> result = builder.rebuild(project);
    const vemro::AtlasSize texture = result->textureSize;
    const vemro::AtlasSize asked = project.textureSize;
    // A fitted texture is no larger than the one asked for, each side a power of two or as asked.
    const auto fitted = [](std::int32_t side, std::int32_t largest) {
        return side == largest || (side < largest && (side & (side - 1)) == 0);
    };
    const bool sizeAsAsked = project.packing.fitSize ? fitted(texture.width, asked.width) &&
                                                           fitted(texture.height, asked.height)
                                                     : texture == asked;
    if (!sizeAsAsked || result->pages.empty() ||
        result->pages.size() > static_cast<std::size_t>(vemro::maxPagesFor(texture)) ||
        (!project.packing.multiplePages && result->pages.size() != 1) ||
        result->glyphs.size() != project.glyphs.size()) {
        fail("the atlas does not match the project it was built from");
    }
    const std::int32_t channels = result->encoding.channels;
    for (const vemro::AtlasPage& page : result->pages) {
        if (page.channels != channels ||
            page.pixels.size() != static_cast<std::size_t>(page.width) * page.height * channels) {
            fail("a page does not hold the pixels its effects call for");
        }
    }

    const std::string chosen = folder + "/out.fnt";
    for (const vemro::Exporter* exporter : vemro::registeredExporters()) {
        const vemro::ExportReport report =
            exporter->write(chosen, project, document.exportSettings, *result);
        for (const std::string& failure : report.failures) {
            fail(exporter->name() + " export failed: " + failure);
        }
        const std::vector<std::string> files =
            exporter->outputFiles(chosen, document.exportSettings, *result);
        if (report.written != files) {
            fail(exporter->name() + " wrote other files than it names");
        }
        for (const std::string& path : files) {
            sizeOf(path);
        }
        if (exporter->name() != "tfd" && files.size() != result->pages.size() + 1) {
            fail("the export does not write every page and one descriptor");
        }
        if (exporter->name() == "tfd") {
            if (files.size() != 2 * result->pages.size()) {
                fail("the export does not write an image and a description per page");
            }
            for (std::size_t page = 0; page < result->pages.size(); ++page) {
                if (sizeOf(files[2 * page]) !=
                    18u + 4u * static_cast<std::uintmax_t>(texture.width) *
                              static_cast<std::uintmax_t>(texture.height)) {
                    fail("an image has the wrong size for its texture");
                }
                if (sizeOf(files[2 * page + 1]) !=
                    vemro::encodeGlyphDescription(*result, static_cast<std::int32_t>(page))
                        .size()) {
                    fail("a description on disk differs in length from its text");
                }
            }
        }
        for (const std::string& path : files) {
            ::unlink(path.c_str());
        }
    }
    return 0;
}
