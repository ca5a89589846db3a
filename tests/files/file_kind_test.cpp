// Files that are no project but look like one to a user (a BMFont descriptor is a .fnt file
// too): the refusal says what the file is. The reader's own checks stay; files of no known kind
// keep the reader's message.
#include "files/project/file_kind.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "files/export/glyph_description.h"
#include "files/export/tga_image.h"
#include "files/project/project_file.h"
#include "files/project/project_opener.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::string messageOfOpening(const std::string& path) {
    static const Project fallback = startupProject("DejaVu Sans");
    const Result<OpenedProject> opened = openProject(path, {"DejaVu Sans"}, fallback);
    EXPECT_FALSE(opened.ok()) << path;
    return opened.message();
}

struct LookAlike {
    std::string name;
    std::vector<std::uint8_t> bytes;
    std::string kind;  // empty: no kind known, the reader's message stays
};

TEST(FileKind, LookAlikesAreNamedAndOtherFilesKeepTheReadersMessage) {
    AtlasResult atlas;
    atlas.textureSize = {64, 32};
    atlas.pages.push_back(AtlasPage{64, 32, std::vector<std::uint8_t>(64 * 32, 0)});
    const std::vector<std::uint8_t> targa = encodeTgaImage(atlas.pages.front(), atlas.textureSize);
    ProjectFile project;
    project.faceName = "DejaVu Sans";
    project.glyphs = {{'A', 0, 0}};
    std::vector<std::uint8_t> cutProject = encodeProjectFile(project);
    cutProject.pop_back();

    const std::string bmfontText =
        "info face=\"Arial\" size=32 bold=0 italic=0 charset=\"\" unicode=1\r\n"
        "common lineHeight=32 base=26 scaleW=256 scaleH=256 pages=1 packed=0\r\n";
    std::vector<std::uint8_t> bmfontBinary = bytesOf("BMF\x03\x01");
    bmfontBinary.resize(40, 0);
    std::vector<std::uint8_t> bmp = bytesOf("BM");
    bmp.resize(54, 0);
    bmp[14] = 40;  // BITMAPINFOHEADER
    std::vector<std::uint8_t> png = bytesOf("\x89PNG\r\n\x1A\n");
    png.resize(33, 0);
    // A multi-byte character across the end of the part that is read, and one cut off by the
    // end of the file.
    const std::string longText = std::string(kFileKindSampleBytes - 1, 'x') + "\xE2\x82\xAC end";
    const std::string cutText = "price 5\xE2\x82";

    const std::vector<LookAlike> files = {
        {"bmfont.fnt", bytesOf(bmfontText), "a BMFont font description"},
        {"xml.fnt",
         bytesOf("<?xml version=\"1.0\"?>\n<!-- by hand -->\n<font>\n  <info face=\"Arial\"/>\n"
                 "</font>\n"),
         "a BMFont font description in XML"},
        {"binary.fnt", bmfontBinary, "a binary BMFont font description"},
        {"atlas.fnt", png, "a PNG image"},
        {"photo.jpg", bytesOf("\xFF\xD8\xFF\xE0"), "a JPEG image"},
        {"anim.gif", bytesOf(std::string("GIF89a\x01\x00\x01\x00", 10)), "a GIF image"},
        {"picture.bmp", bmp, "a BMP image"},
        {"picture.fnt", bmp, ""},
        {"atlas.TGA", targa, "a Targa image"},
        {"targa.fnt", targa, ""},
        {"atlas.tfd", bytesOf(encodeGlyphDescription(atlas)),
         "a glyph description written by Export Font"},
        {"notes.fnt", bytesOf("Glyphs for the title screen: \xC3\xA4\xC3\xB6\n"), "a text file"},
        {"named.ttf", bytesOf("not a font\n"), "a text file"},
        {"long.txt", bytesOf(longText), "a text file"},
        {"cut.txt", bytesOf(cutText), ""},
        {"latin1.txt", bytesOf("caf\xE9\n"), ""},
        {"cut-project.fnt", cutProject, ""},
        {"empty.fnt", {}, ""},
    };
    TestFolder folder;
    for (const LookAlike& file : files) {
        const std::string path = folder.path(file.name);
        writeBytes(path, file.bytes);
        const Result<ProjectFile> read = readProjectFile(path);
        ASSERT_FALSE(read.ok()) << file.name;
        if (file.kind.empty()) {
            EXPECT_EQ(messageOfOpening(path), read.message()) << file.name;
        } else {
            EXPECT_EQ(messageOfOpening(path), "cannot open \"" + path + "\": this is " + file.kind +
                                                  ", not a Vemro Font builder project");
        }
    }

    // Font files, told by signature whatever their name: a real one, and every kind's first bytes.
    const std::string font =
        " is a font file, not a project: use --font-file (or File > Use Font File...)";
    EXPECT_EQ(messageOfOpening("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"),
              "\"DejaVuSans.ttf\"" + font);
    for (const char* signature : {"\0\1\0\0", "OTTO", "true", "typ1", "ttcf", "wOFF", "wOF2"}) {
        std::vector<std::uint8_t> bytes(signature, signature + 4);
        bytes.insert(bytes.end(), {0, 15, 0, 0, 0, 0, 0, 0, 'c', 'm', 'a', 'p'});  // 15 tables
        writeBytes(folder.path("face.fnt"), bytes);
        EXPECT_EQ(messageOfOpening(folder.path("face.fnt")), "\"face.fnt\"" + font) << signature;
    }

    // Files that cannot be read, and a pipe (which must not block), are not guessed at.
    const std::string pipe = folder.path("pipe.fnt");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    for (const std::string& path : {pipe, folder.path("missing.fnt"), folder.root().string()}) {
        EXPECT_EQ(lookAlikeKind(path), std::nullopt) << path;
        EXPECT_EQ(messageOfOpening(path), readProjectFile(path).message()) << path;
    }
}

}  // namespace
}  // namespace vemro
