// Fonts made from font files, the faces a file holds, and the characters of a face.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "engine/font/freetype_font_renderer.h"

namespace vemro {
namespace {

// Where Debian's fonts-dejavu-core puts the faces.
const std::string kDejaVuFolder = "/usr/share/fonts/truetype/dejavu/";
const std::string kDejaVuSans = kDejaVuFolder + "DejaVuSans.ttf";

// A font collection (.ttc) of TrueType files: the 'ttcf' header with one offset per font, then
// each font whole, the offsets in its table records moved by where it now starts.
std::vector<char> collectionOf(const std::vector<std::string>& files) {
    const auto field = [](std::vector<char>& bytes, std::size_t at, std::uint32_t add) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
        }
        for (std::size_t i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<char>((value + add) >> (24 - 8 * i));
        }
    };
    std::vector<char> out = {'t', 't', 'c', 'f', 0, 1,
                             0,   0,   0,   0,   0, static_cast<char>(files.size())};
    out.resize(out.size() + 4 * files.size(), 0);
    for (std::size_t f = 0; f < files.size(); ++f) {
        std::ifstream in(files[f], std::ios::binary);
        std::vector<char> font{std::istreambuf_iterator<char>(in), {}};
        const auto start = static_cast<std::uint32_t>(out.size());
        for (int t = 0; t < static_cast<std::uint8_t>(font[5]); ++t) {  // DejaVu: < 256 tables
            field(font, 12 + 16 * static_cast<std::size_t>(t) + 8, start);
        }
        field(out, 12 + 4 * f, start);
        out.insert(out.end(), font.begin(), font.end());
    }
    return out;
}

class FreetypeFontFile : public ::testing::Test {
protected:
    FreetypeFontFile() { std::filesystem::create_directories(folder_); }
    ~FreetypeFontFile() override { std::filesystem::remove_all(folder_); }

    std::string write(const std::string& name, const std::vector<char>& bytes) const {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    std::unique_ptr<Font> font(const FontRequest& request) {
        Result<std::unique_ptr<Font>> made = renderer_.createFont(request);
        EXPECT_TRUE(made.ok()) << made.message();
        return made ? std::move(made.value()) : nullptr;
    }

    static FontRequest fileRequest(const std::string& path, int faceIndex = 0) {
        FontRequest request{"DejaVu Serif", 24};  // the file decides, not the typeface
        request.fontFile = path;
        request.faceIndex = faceIndex;
        return request;
    }

    // Whether two fonts draw the same: line metrics, and the ink and index of some characters.
    static void expectSameDrawing(Font& left, Font& right) {
        EXPECT_EQ(left.lineHeight(), right.lineHeight());
        EXPECT_EQ(left.ascent(), right.ascent());
        for (const char32_t code : {U'A', U'g', U'\u0416', U'\u20AC'}) {
            EXPECT_EQ(left.renderGlyph(code).pixels, right.renderGlyph(code).pixels);
            EXPECT_EQ(left.glyphInfo(code), right.glyphInfo(code));
        }
    }

    FreetypeFontRenderer renderer_;
    std::filesystem::path folder_ = std::filesystem::temp_directory_path() /
                                    ("vemro-font-file-test-" + std::to_string(::getpid()));
};

TEST_F(FreetypeFontFile, FontFilesAndTheFacesOfACollectionDrawAsTheInstalledFaces) {
    // Debian installs no collection (.ttc) here, so one is made of two DejaVu files.
    const std::string collection =
        write("pair.ttc", collectionOf({kDejaVuSans, kDejaVuFolder + "DejaVuSansMono-Bold.ttf"}));
    const Result<std::vector<FontFileFace>> faces = renderer_.inspectFontFile(collection);
    ASSERT_TRUE(faces.ok()) << faces.message();
    EXPECT_EQ(faces.value(), (std::vector<FontFileFace>{{0, "DejaVu Sans", "Book"},
                                                        {1, "DejaVu Sans Mono", "Bold"}}));
    EXPECT_EQ(renderer_.inspectFontFile(kDejaVuSans).value(),
              (std::vector<FontFileFace>{{0, "DejaVu Sans", "Book"}}));
    const std::unique_ptr<Font> sans = font({"DejaVu Sans", 24});
    const std::unique_ptr<Font> monoBold = font({"DejaVu Sans Mono", 24, 700});
    const std::unique_ptr<Font> file = font(fileRequest(kDejaVuSans));
    const std::unique_ptr<Font> second = font(fileRequest(collection, 1));
    ASSERT_TRUE(sans && monoBold && file && second);
    expectSameDrawing(*file, *sans);
    expectSameDrawing(*second, *monoBold);
    EXPECT_EQ(file->familyName(), "DejaVu Sans");
    EXPECT_EQ(second->familyName(), "DejaVu Sans Mono");
}

TEST_F(FreetypeFontFile, AFileThatCannotBeUsedIsNamedWithTheReason) {
    const std::string text = write("notes.ttf", {'n', 'o', 't', 'e', 's'});
    const std::string missing = (folder_ / "missing.otf").string();
    // FreeType would wait for a writer on a named pipe for ever.
    const std::string pipe = (folder_ / "pipe.ttf").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const struct {
        FontRequest request;
        std::string reason;
    } cases[] = {
        {fileRequest(missing), "there is no such file"},
        {fileRequest(folder_.string()), "it is a folder"},
        {fileRequest(pipe), "it is not a regular file"},
        {fileRequest(text), "it is not a font file FreeType can read"},
        {fileRequest(kDejaVuSans, 1), "it holds 1 face, numbered from 0"},
        {fileRequest(kDejaVuSans, -1), "there is no face -1 in it"},
    };
    for (const auto& c : cases) {
        const Result<std::unique_ptr<Font>> made = renderer_.createFont(c.request);
        ASSERT_FALSE(made.ok()) << c.reason;
        EXPECT_EQ(made.message(),
                  "the font file \"" + c.request.fontFile + "\" could not be opened: " + c.reason);
    }
    EXPECT_EQ(renderer_.inspectFontFile(missing).message(),
              "the font file \"" + missing + "\" could not be opened: there is no such file");
    EXPECT_EQ(renderer_.inspectFontFile(pipe).message(),
              "the font file \"" + pipe + "\" could not be opened: it is not a regular file");
}

TEST_F(FreetypeFontFile, CharactersAreExactlyThoseWithAGlyph) {
    const std::unique_ptr<Font> made = font({"DejaVu Sans", 20});
    ASSERT_NE(made, nullptr);
    const std::vector<char32_t> characters = made->characters();
    ASSERT_TRUE(std::is_sorted(characters.begin(), characters.end()));
    EXPECT_GT(characters.size(), 3000u);
    std::vector<char32_t> disagreeing;
    for (char32_t code = 0; code < 0x20000; code += code < 0x3000 ? 1 : 7) {
        if (std::binary_search(characters.begin(), characters.end(), code) !=
            (made->glyphInfo(code).index != 0)) {
            disagreeing.push_back(code);
        }
    }
    EXPECT_EQ(disagreeing, std::vector<char32_t>{});
}

}  // namespace
}  // namespace vemro
