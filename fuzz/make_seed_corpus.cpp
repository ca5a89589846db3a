// Writes the fuzzers' seed corpus: a few small project files made by the program's own writer,
// spread over the settings a user can choose (texture shapes, sizes, weights, qualities, factors,
// italic, faces that are and are not installed, character borders of both signs, duplicates).
#include <cstdio>
#include <string>
#include <vector>

#include "files/project_file.h"

namespace {

using vemro::ProjectFile;
using vemro::ProjectGlyph;

std::vector<ProjectGlyph> codes(int first, int last, int step) {
    std::vector<ProjectGlyph> glyphs;
    for (int code = first; code <= last; code += step) {
        glyphs.push_back({static_cast<std::uint8_t>(code), 0, 0});
    }
    return glyphs;
}

struct Seed {
    const char* name;
    ProjectFile project;
};

std::vector<Seed> seeds() {
    std::vector<Seed> all;

    ProjectFile empty;
    empty.faceName = "DejaVu Sans";
    all.push_back({"empty_list.fnt", empty});

    ProjectFile full;
    full.faceName = "DejaVu Sans";
    full.glyphs = codes(32, 255, 1);
    all.push_back({"full_charset_11pt.fnt", full});

    ProjectFile large;
    large.textureWidth = 512;
    large.textureHeight = 512;
    large.size = 100;
    large.factor = 4;
    large.faceName = "DejaVu Serif";
    large.glyphs = codes(65, 90, 5);
    all.push_back({"size_100_factor_4.fnt", large});

    ProjectFile bold;
    bold.textureWidth = 64;
    bold.textureHeight = 128;
    bold.borderLeft = 1;
    bold.borderTop = 2;
    bold.borderRight = 3;
    bold.borderBottom = 16;
    bold.size = 24;
    bold.weight = 700;
    bold.quality = 3;
    bold.factor = 2;
    bold.italic = 1;
    bold.faceName = "dejavu sans mono";
    bold.glyphs = {{'W', -3, 2},
                   {'i', 4, -1},
                   {'g', 0, 0},
                   {0xE9, vemro::kMaxProjectCharBorder, vemro::kMinProjectCharBorder},
                   {'W', 0, 5}};
    all.push_back({"bold_italic_borders.fnt", bold});

    ProjectFile medium;
    medium.textureWidth = 128;
    medium.textureHeight = 64;
    medium.size = 5;
    medium.weight = 600;
    medium.factor = 3;
    medium.faceName = "Not An Installed Face";
    medium.glyphs = codes(0, 255, 17);
    all.push_back({"unknown_face_medium.fnt", medium});

    ProjectFile tiny;
    tiny.textureWidth = 1;
    tiny.textureHeight = 1;
    tiny.size = 48;
    tiny.faceName = "DejaVu Sans";
    tiny.glyphs = {{'M', 0, 0}, {' ', vemro::kMinProjectCharBorder, vemro::kMinProjectCharBorder}};
    all.push_back({"one_pixel_texture.fnt", tiny});

    ProjectFile odd;
    odd.textureWidth = 300;
    odd.textureHeight = 17;
    odd.borderLeft = 70000;  // the spins keep the low 16 bits: 4464, then 16
    odd.borderTop = -5;
    odd.size = 65536 + 12;
    odd.weight = 500;
    odd.quality = 5;
    odd.factor = 8;
    odd.italic = -1;
    odd.faceName = "";
    odd.glyphs = codes(120, 135, 1);
    all.push_back({"unmatched_values.fnt", odd});

    return all;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    int status = 0;
    for (const Seed& seed : seeds()) {
        const vemro::Status written =
            vemro::writeProjectFile(folder + "/" + seed.name, seed.project);
        if (!written) {
            std::fprintf(stderr, "%s\n", written.message().c_str());
            status = 1;
        }
    }
    return status;
}
