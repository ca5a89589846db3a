#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <sstream>

#include "engine/font/freetype_font_renderer.h"
#include "engine/project/project.h"
#include "files/cli/command_line.h"
#include "files/cli/export_options.h"
#include "tests/files/bmfont_reader.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMono = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
constexpr const char* kCollection = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";

// What an export wrote: its descriptor read back, and the colour type of its first page.
struct Exported {
    test::ReadFont font;
    int pageColourType = -1;
};

// One option's way through the table: the arguments that give it (after the options that put
// the project into a known state, when it undoes something) and what the export must show.
const std::string kDroid = "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf";

struct RoundTrip {
    std::vector<std::string> args;
    std::function<void(const Exported& with, const Exported& base)> check;
};

class OptionTableTest : public ::testing::Test {
protected:
    // Every export starts from the start-up project with DejaVu Sans and Basic Latin, as JSON
    // with 8-bit pages.
    const std::vector<std::string> base{"--face",   "DejaVu Sans", "--charset", "Basic Latin",
                                        "--format", "json",        "--image",   "png8"};

    int run(const std::vector<std::string>& args, std::string* err = nullptr) {
        std::ostringstream out;
        std::ostringstream errors;
        const std::optional<int> code = runCommandLine(args, renderer, out, errors);
        if (err != nullptr) {
            *err = errors.str();
        }
        return code.value_or(-1);
    }

    // Reads the files an export or build wrote into a folder of their own.
    static Exported read(const fs::path& folder) {
        Exported exported;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with(".json") || name.ends_with(".fnt")) {
                exported.font = test::readBmfont(readBytes(entry.path().string()));
            } else if (name.ends_with("_0.png")) {
                exported.pageColourType = readBytes(entry.path().string()).at(25);
            }
        }
        return exported;
    }

    Exported exportWith(const std::string& name, const std::vector<std::string>& options) {
        fs::create_directories(folder.root() / name);
        std::vector<std::string> args{"export", "-o", (folder.root() / name / "out").string()};
        args.insert(args.end(), base.begin(), base.end());
        args.insert(args.end(), options.begin(), options.end());
        std::string err;
        EXPECT_EQ(run(args, &err), 0) << name << ": " << err;
        return read(folder.root() / name);
    }

    // The arguments as the keys of a build file: "key = value", a switch "key = true". A key of
    // the [defaults] that an output gives again replaces the default, so an option that adds
    // lists the default's argument too, as the command line adds to it.
    std::string tomlKeys(const std::vector<std::string>& args) const {
        std::string text;
        for (std::size_t i = 0; i < args.size(); ++i) {
            const ExportOption* option = findExportOption(exportOptions(), args[i]);
            text += args[i].substr(2) + " = ";
            if (option->placeholder.empty()) {
                text += "true\n";
                continue;
            }
            const auto given = std::find(base.begin(), base.end(), args[i]);
            const std::string argument = "\"" + args[++i] + "\"";
            text += option->repeatable && given != base.end()
                        ? "[\"" + *(given + 1) + "\", " + argument + "]\n"
                        : argument + "\n";
        }
        return text;
    }

    FreetypeFontRenderer renderer;
    TestFolder folder;
};

// Every option of the table that changes the document is parsed, applied and seen in the
// export, and gives the same files through a build file's key.
TEST_F(OptionTableTest, EveryOptionReachesTheExportFromTheCommandLineAndABuildFile) {
    const std::string characters = folder.path("chars.txt");
    writeBytes(characters, {0xD0, 0x96, 0xE2, 0x82, 0xAC});  // "Ж€"
    const Result<std::vector<FontFileFace>> collection = renderer.inspectFontFile(kCollection);
    ASSERT_TRUE(collection.ok() && collection->size() > 2) << collection.message();

    const auto info = [](const Exported& e, const std::string& key) { return e.font.info.at(key); };
    const auto hasAll = [](const Exported& e, std::vector<std::uint32_t> codes) {
        return std::all_of(codes.begin(), codes.end(),
                           [&](std::uint32_t c) { return e.font.chars.contains(c); });
    };
    const auto cellWidth = [](const Exported& e) { return e.font.chars.at('A').at("width"); };
    const auto trimmed = [](const Exported& e) {
        return e.font.chars.at('.').at("height") * 4 < e.font.number("lineHeight");
    };
    const std::map<std::string, RoundTrip> trips{
        {"--face",
         {{"--face", "dejavu serif"},
          [&](auto& e, auto&) { EXPECT_EQ(info(e, "face"), "DejaVu Serif"); }}},
        {"--font-file",
         {{"--font-file", std::string(kCollection) + "#2"},
          [&](auto& e, auto&) { EXPECT_EQ(info(e, "face"), collection.value()[2].familyName); }}},
        {"--size",
         {{"--size", "20"},
          [&](auto& e, auto&) {
              EXPECT_EQ(info(e, "size"), std::to_string(pixelHeightFor(20, 1)));
          }}},
        // No size gives 10 pixels: 7 points give 9 and 8 points 11; of the two, the smaller.
        {"--px", {{"--px", "10"}, [&](auto& e, auto&) { EXPECT_EQ(info(e, "size"), "9"); }}},
        // A number weight on a face of fixed weights: drawn bold above 550.
        {"--weight",
         {{"--weight", "900"},
          [&](auto& e, auto& b) {
              EXPECT_EQ(info(e, "bold"), "1");
              EXPECT_GT(cellWidth(e), cellWidth(b));
          }}},
        {"--italic", {{"--italic"}, [&](auto& e, auto&) { EXPECT_EQ(info(e, "italic"), "1"); }}},
        {"--no-italic",
         {{"--italic", "--no-italic"}, [&](auto& e, auto&) { EXPECT_EQ(info(e, "italic"), "0"); }}},
        {"--quality",
         {{"--quality", "non-antialiased"},
          [&](auto& e, auto&) { EXPECT_EQ(info(e, "smooth"), "0"); }}},
        {"--factor", {{"--factor", "3"}, [&](auto& e, auto&) { EXPECT_EQ(info(e, "aa"), "3"); }}},
        {"--border",
         {{"--border", "1,2,3,4"},
          [&](auto& e, auto&) { EXPECT_EQ(info(e, "padding"), "2,3,4,1"); }}},
        {"--fallback",
         {{"--chars", "U+65E5", "--fallback", kDroid},
          [&](auto& e, auto&) {
              // From Droid Sans Fallback, one em wide, rather than DejaVu's missing-glyph box.
              EXPECT_EQ(e.font.chars.at(0x65E5).at("xadvance"), std::stoll(info(e, "size")));
          }}},
        {"--chars",
         {{"--chars", "0x410-0x412, U+44F"},
          [&](auto& e, auto& b) {
              EXPECT_TRUE(hasAll(e, {0x410, 0x411, 0x412, 0x44F}));
              EXPECT_EQ(e.font.order.size(), b.font.order.size() + 4);
          }}},
        {"--chars-from",
         {{"--chars-from", characters},
          [&](auto& e, auto& b) {
              EXPECT_TRUE(hasAll(e, {0x416, 0x20AC}));
              EXPECT_EQ(e.font.order.size(), b.font.order.size() + 2);
          }}},
        {"--charset",
         {{"--texture", "512x512", "--charset", "cyrillic"},
          [&](auto& e, auto&) {
              EXPECT_TRUE(hasAll(e, {0x400, 0x4FF}));
          }}},
        {"--texture",
         {{"--texture", "1024x64"},
          [&](auto& e, auto&) {
              EXPECT_EQ(e.font.common.at("scaleW") + "x" + e.font.common.at("scaleH"), "1024x64");
          }}},
        {"--fit",
         {{"--texture", "1024x1024", "--fit"},
          [&](auto& e, auto&) {
              EXPECT_LT(e.font.number("scaleW") * e.font.number("scaleH"), 1024 * 1024);
          }}},
        {"--no-fit",
         {{"--texture", "1024x1024", "--fit", "--no-fit"},
          [&](auto& e, auto&) { EXPECT_EQ(e.font.number("scaleW"), 1024); }}},
        {"--pages",
         {{"--texture", "64x64", "--pages"},
          [&](auto& e, auto&) { EXPECT_GT(e.font.pages.size(), 1u); }}},
        {"--no-pages",
         {{"--texture", "64x64", "--pages", "--no-pages"},
          [&](auto& e, auto&) { EXPECT_EQ(e.font.pages.size(), 1u); }}},
        // A new project trims its cells for JSON: the full stop's is a few rows, not the line.
        {"--trim", {{"--no-trim", "--trim"}, [&](auto& e, auto&) { EXPECT_TRUE(trimmed(e)); }}},
        {"--no-trim",
         {{"--no-trim"}, [&](auto& e, auto& b) { EXPECT_TRUE(trimmed(b) && !trimmed(e)); }}},
        // Rows start with the list's first character, the space; tight packing with the tallest.
        // (A trimmed space has no cell to place.)
        {"--packer",
         {{"--no-trim", "--packer", "tight"},
          [&](auto& e, auto& b) {
              EXPECT_EQ(b.font.chars.at(' ').at("x") + b.font.chars.at(' ').at("y"), 0);
              EXPECT_NE(e.font.chars.at(' ').at("x") + e.font.chars.at(' ').at("y"), 0);
          }}},
        {"--spacing",
         {{"--spacing", "5"}, [&](auto& e, auto&) { EXPECT_EQ(info(e, "spacing"), "5,5"); }}},
        {"--format",
         {{"--format", "bmfont-xml"},
          [&](auto& e, auto& b) {
              EXPECT_EQ(e.font.error, "");
              EXPECT_EQ(e.font, b.font);
          }}},
        {"--image",
         {{"--image", "png"},
          [&](auto& e, auto& b) {
              EXPECT_EQ(b.pageColourType, 3) << "indexed";
              EXPECT_EQ(e.pageColourType, 6) << "RGBA";
          }}},
        {"--kerning",
         {{"--no-kerning", "--kerning"},
          [&](auto& e, auto&) { EXPECT_FALSE(e.font.kernings.empty()); }}},
        {"--no-kerning",
         {{"--no-kerning"},
          [&](auto& e, auto& b) {
              EXPECT_FALSE(b.font.kernings.empty());
              EXPECT_TRUE(e.font.kernings.empty());
          }}},
        {"--fill", {{"--fill", "FF8000"}, [&](auto& e, auto&) { EXPECT_EQ(e.pageColourType, 6); }}},
        {"--outline",
         {{"--outline", "2"}, [&](auto& e, auto&) { EXPECT_EQ(info(e, "outline"), "2"); }}},
        {"--no-outline",
         {{"--outline", "2", "--no-outline"},
          [&](auto& e, auto& b) {
              EXPECT_EQ(info(e, "outline"), "0");
              EXPECT_EQ(e.pageColourType, b.pageColourType);
          }}},
        {"--shadow",
         {{"--shadow", "2,2,1"}, [&](auto& e, auto& b) { EXPECT_GT(cellWidth(e), cellWidth(b)); }}},
        {"--no-shadow",
         {{"--shadow", "2,2,1", "--no-shadow"},
          [&](auto& e, auto& b) { EXPECT_EQ(cellWidth(e), cellWidth(b)); }}},
        {"--sdf",
         {{"--sdf", "4"},
          [&](auto& e, auto&) { EXPECT_EQ(e.font.distanceField.at("distanceRange"), "8"); }}},
        {"--field",
         {{"--field", "msdf", "--sdf", "4"},
          [&](auto& e, auto&) {
              EXPECT_EQ(e.font.distanceField.at("fieldType"), "msdf");
              EXPECT_EQ(e.font.distanceField.at("distanceRange"), "8");
              EXPECT_EQ(e.pageColourType, 2) << "RGB";
          }}},
        {"--no-field",
         {{"--sdf", "4", "--no-field"},
          [&](auto& e, auto&) { EXPECT_TRUE(e.font.distanceField.empty()); }}},
    };

    const Exported plain = exportWith("base", {});
    ASSERT_EQ(plain.font.error, "");
    std::string toml = "[defaults]\n" + tomlKeys(base);
    std::vector<std::string> names;
    for (const ExportOption& option : exportOptions()) {
        if (option.role != OptionRole::setting) {
            continue;
        }
        const auto trip = trips.find(option.name);
        ASSERT_NE(trip, trips.end()) << "no round trip for " << option.name;
        const std::string name = std::string(option.name).substr(2);
        const Exported exported = exportWith(name, trip->second.args);
        EXPECT_EQ(exported.font.error, "") << option.name;
        SCOPED_TRACE(option.name);
        trip->second.check(exported, plain);
        names.push_back(name);
        toml += "\n[[font]]\noutput = \"built/" + name + "/out\"\n" + tomlKeys(trip->second.args);
    }

    const std::string buildFile = folder.path("fonts.toml");
    writeBytes(buildFile, std::vector<std::uint8_t>(toml.begin(), toml.end()));
    std::string err;
    ASSERT_EQ(run({"build", buildFile}, &err), 0) << err;
    for (const std::string& name : names) {
        for (const auto& entry : fs::directory_iterator(folder.root() / name)) {
            const fs::path built = folder.root() / "built" / name / entry.path().filename();
            EXPECT_EQ(readBytes(entry.path().string()), readBytes(built.string())) << built;
        }
    }
}

}  // namespace
}  // namespace vemro
