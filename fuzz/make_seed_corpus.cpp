// Writes the fuzzers' seed corpus: a few small project files made by the program's own writer,
// spread over the settings a user can choose (texture shapes, sizes, weights, qualities, factors,
// italic, faces that are and are not installed, character borders of both signs, duplicates),
// and files with the extension: Cyrillic, Greek, Japanese and astral characters, font files by
// relative and absolute path, textures above 512, packing settings, export settings, a sample
// text and effects (an outline with a shadow in colour, a distance field).
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "files/project/project_file.h"

namespace {

using vemro::ProjectExtension;
using vemro::ProjectFile;
using vemro::ProjectGlyph;

std::vector<ProjectGlyph> codes(int first, int last, int step) {
    std::vector<ProjectGlyph> glyphs;
    for (int code = first; code <= last; code += step) {
        glyphs.push_back({static_cast<std::uint8_t>(code), 0, 0});
    }
    return glyphs;
}

// Gives the project an extension holding the characters (each with the borders given), and the
// glyph records that go with them. A new extension takes the header's texture sides as the true
// ones.
void setCharacters(ProjectFile& project, std::u32string_view text, std::int32_t left = 0,
                   std::int32_t right = 0) {
    if (!project.extension) {
        project.extension.emplace().project.textureSize = {project.textureWidth,
                                                           project.textureHeight};
    }
    ProjectExtension& extension = *project.extension;
    for (const char32_t code : text) {
        extension.project.glyphs.append(vemro::Glyph{code, left, right});
    }
    project.glyphs = vemro::windows1252Records(extension.project.glyphs);
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

    ProjectFile scripts;
    scripts.textureWidth = 512;
    scripts.textureHeight = 256;
    scripts.size = 20;
    scripts.faceName = "DejaVu Sans";
    setCharacters(scripts, U"Hello, \u00E9t\u00E9 \u20AC ");
    setCharacters(scripts, U"\u041F\u0440\u0438\u0432\u0435\u0442 \u0416\u0401", 1, 2);
    setCharacters(scripts, U"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC");
    setCharacters(scripts, U"\u65E5\u672C\u8A9E\u3042\u3044\u30A2\u30A4\u3002", -2, 3);
    all.push_back({"cyrillic_greek_japanese.fnt", scripts});

    ProjectFile astral;
    astral.textureWidth = 128;
    astral.textureHeight = 128;
    astral.size = 30;
    astral.factor = 2;
    astral.faceName = "DejaVu Sans";
    setCharacters(astral, U"\U0001F600A\U00010000\U0010FFFD");
    setCharacters(astral, U"A\U0001F600", vemro::kMinProjectCharBorder,
                  vemro::kMaxProjectCharBorder);
    setCharacters(astral, std::u32string_view(U"\0\u0001\u0081\uFFFF", 4));
    all.push_back({"astral_duplicates_controls.fnt", astral});

    ProjectFile relativeFont;
    relativeFont.faceName = "DejaVu Sans";
    setCharacters(relativeFont, U"Abc \u0436\u03C9");
    relativeFont.extension->project.font.fontFile = "fonts/DejaVuSans.ttf";
    all.push_back({"font_file_relative.fnt", relativeFont});

    ProjectFile absoluteFont;
    absoluteFont.textureWidth = 256;
    absoluteFont.textureHeight = 128;
    absoluteFont.size = 16;
    absoluteFont.faceName = "Droid Sans Fallback";
    setCharacters(absoluteFont, U"\u30B2\u30FC\u30E0\u958B\u59CB Start \u4E00\u4E8C\u4E09");
    absoluteFont.extension->project.font.fontFile =
        "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf";
    all.push_back({"font_file_absolute.fnt", absoluteFont});

    // 4096 x 64 in the extension (the header holds 512 x 64), rows without spacing.
    ProjectFile wide;
    wide.textureWidth = 512;
    wide.textureHeight = 64;
    wide.size = 14;
    wide.faceName = "DejaVu Sans";
    std::u32string ascii;
    for (char32_t code = 32; code <= 126; ++code) {
        ascii += code;
    }
    setCharacters(wide, ascii);
    wide.extension->project.textureSize = vemro::AtlasSize{4096, 64};
    wide.extension->project.packing =
        vemro::PackingSettings{vemro::PackerKind::Rows, 0, false, false};
    all.push_back({"wide_texture_no_spacing.fnt", wide});

    // Tight packing onto several pages of at most 1024 x 128, fitted, with wide spacing.
    ProjectFile pages;
    pages.textureWidth = 512;
    pages.textureHeight = 128;
    pages.size = 40;
    pages.factor = 2;
    pages.faceName = "DejaVu Serif";
    setCharacters(pages, U"Pages \u00C5\u0152\u0416\u03A9", 2, -1);
    setCharacters(pages, U"WWWWiiii");
    pages.extension->project.textureSize = vemro::AtlasSize{1024, 128};
    pages.extension->project.packing =
        vemro::PackingSettings{vemro::PackerKind::Tight, 5, true, true};
    all.push_back({"tight_pages_fitted.fnt", pages});

    ProjectFile jsonExport;
    jsonExport.size = 24;
    jsonExport.factor = 2;
    jsonExport.faceName = "DejaVu Serif";
    setCharacters(jsonExport, U"AVTo Wa.y\u00C9");
    jsonExport.extension->exportSettings = {vemro::DescriptorFormat::Json, vemro::PageImage::Tga};
    all.push_back({"json_tga_export.fnt", jsonExport});

    ProjectFile binaryExport;
    binaryExport.faceName = "DejaVu Sans";
    setCharacters(binaryExport, U"Gro\u00DFe \"q\" & <x>");
    binaryExport.extension->exportSettings = {vemro::DescriptorFormat::BmfontBinary,
                                              vemro::PageImage::Png8};
    binaryExport.extension->project.kerning = false;
    binaryExport.extension->sampleText = "Gr\u00F6\u00DFe \"q\" & <x> \u65E5\u672C";
    all.push_back({"binary_png8_sample_text.fnt", binaryExport});

    // BMFont text with its kerning over several 128 x 64 pages in rows two pixels apart.
    ProjectFile pagedText;
    pagedText.textureWidth = 128;
    pagedText.textureHeight = 64;
    pagedText.size = 16;
    pagedText.faceName = "DejaVu Sans";
    setCharacters(pagedText, U"AVTo Wa ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789");
    pagedText.extension->project.packing =
        vemro::PackingSettings{vemro::PackerKind::Rows, 2, false, true};
    pagedText.extension->exportSettings = {vemro::DescriptorFormat::BmfontText,
                                           vemro::PageImage::Png};
    all.push_back({"bmfont_text_pages.fnt", pagedText});

    // An orange fill with a blue outline 2 wide and a shadow down and left, blurred by 2.
    ProjectFile outlined;
    outlined.size = 14;
    outlined.faceName = "DejaVu Sans";
    setCharacters(outlined, U"Outline & shadow \u00C5g");
    vemro::EffectSettings colours;
    colours.fill = vemro::Rgb{255, 160, 0};
    colours.outline = true;
    colours.outlineColour = vemro::Rgb{0, 0, 255};
    colours.shadow = true;
    colours.shadowX = -3;
    colours.shadowY = 2;
    colours.shadowOpacity = 128;
    outlined.extension->project.effects = colours;
    outlined.extension->exportSettings = {vemro::DescriptorFormat::BmfontText,
                                          vemro::PageImage::Png};
    all.push_back({"outline_shadow_colour.fnt", outlined});

    // A distance field of spread 4 at factor 2 (which it does not use), described as JSON.
    ProjectFile field;
    field.size = 12;
    field.factor = 2;
    field.faceName = "DejaVu Serif";
    setCharacters(field, U"SDF field");
    vemro::EffectSettings distances;
    distances.distanceField = vemro::DistanceField::Sdf;
    distances.spread = 4;
    field.extension->project.effects = distances;
    field.extension->exportSettings = {vemro::DescriptorFormat::Json, vemro::PageImage::Png8};
    all.push_back({"distance_field_json.fnt", field});

    // A multi-channel field with the true distance, its pages RGBA whatever the image says.
    ProjectFile channels = field;
    channels.extension->project.effects.distanceField = vemro::DistanceField::Mtsdf;
    channels.extension->exportSettings = {vemro::DescriptorFormat::BmfontXml,
                                          vemro::PageImage::Png8};
    all.push_back({"mtsdf_xml.fnt", channels});

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
