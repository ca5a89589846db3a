#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "engine/font/freetype_font_renderer.h"
#include "files/cli/command_line.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

const std::string kBuildFile =
    "[defaults]\n"
    "format = \"bmfont-text\"\n"
    "charset = \"Basic Latin\"\n"
    "\n[[font]]\noutput = \"out/own\"\nfont-file = \"fonts/sans.ttf\"\nsize = 14\n"
    "\n[[font]]\noutput = \"out/serif\"\nface = \"DejaVu Serif\"\nchars-from = \"chars.txt\"\n"
    "\n[[font]]\noutput = \"out/field\"\nface = \"DejaVu Sans Mono\"\nsdf = 4\nformat = \"json\"\n"
    "fallback = \"fonts/sans.ttf\"\n";

// A folder holding the build file above and its inputs.
class BuildFolder {
public:
    BuildFolder() {
        fs::create_directories(folder.root() / "fonts");
        fs::copy_file(kSans, folder.path("fonts/sans.ttf"));
        write("chars.txt", "\xD0\x96\xD0\xB6");  // "Жж"
        write("fonts.toml", kBuildFile);
    }

    void write(const std::string& name, const std::string& text) {
        writeBytes(folder.path(name), std::vector<std::uint8_t>(text.begin(), text.end()));
    }

    // Runs the build; returns what it printed on standard output, and fails the test on any
    // other exit code than 0 or on errors.
    std::string build(std::vector<std::string> options = {}) {
        std::vector<std::string> args{"build", folder.path("fonts.toml")};
        args.insert(args.end(), options.begin(), options.end());
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(runCommandLine(args, renderer, out, err), 0) << err.str();
        return out.str();
    }

    // When each output file was last written, by name.
    std::map<std::string, fs::file_time_type> writeTimes() const {
        std::map<std::string, fs::file_time_type> times;
        for (const auto& entry : fs::directory_iterator(folder.root() / "out")) {
            times[entry.path().filename().string()] = entry.last_write_time();
        }
        return times;
    }

    FreetypeFontRenderer renderer;
    TestFolder folder;
};

// The names whose write times differ between two listings of the same files.
std::vector<std::string> rewritten(const std::map<std::string, fs::file_time_type>& before,
                                   const std::map<std::string, fs::file_time_type>& after) {
    std::vector<std::string> names;
    for (const auto& [name, time] : after) {
        if (!before.contains(name) || before.at(name) != time) {
            names.push_back(name);
        }
    }
    return names;
}

// An output is made again exactly when a byte of one of its inputs changed, or a file it wrote
// went missing.
TEST(BuildCommand, AnOutputIsMadeAgainOnlyWhenItsInputsChanged) {
    BuildFolder build;
    EXPECT_EQ(build.build(), "made out/own\nmade out/serif\nmade out/field\n");
    const auto first = build.writeTimes();
    EXPECT_EQ(build.build(), "");
    EXPECT_EQ(build.writeTimes(), first);

    // One byte of the font file: the head table's checksum adjustment, which drawing ignores.
    std::vector<std::uint8_t> font = readBytes(build.folder.path("fonts/sans.ttf"));
    const std::uint16_t tables = static_cast<std::uint16_t>(font.at(4) << 8 | font.at(5));
    std::size_t head = 0;
    for (std::size_t entry = 12; entry < 12 + 16u * tables; entry += 16) {
        if (std::string(font.begin() + entry, font.begin() + entry + 4) == "head") {
            head = std::size_t{font[entry + 8]} << 24 | std::size_t{font[entry + 9]} << 16 |
                   std::size_t{font[entry + 10]} << 8 | font[entry + 11];
        }
    }
    ASSERT_NE(head, 0u);
    font.at(head + 8) ^= 0x5A;
    writeBytes(build.folder.path("fonts/sans.ttf"), font);
    // Both the face's own file and a fallback's file, named relative to the build file.
    EXPECT_EQ(build.build(), "made out/own\nmade out/field\n");
    const auto second = build.writeTimes();
    EXPECT_EQ(rewritten(first, second),
              (std::vector<std::string>{"field.json", "field.stamp", "field_0.png", "own.fnt",
                                        "own.stamp", "own_0.png"}));

    build.write("chars.txt", "\xD0\x96");
    EXPECT_EQ(build.build(), "made out/serif\n");
    // A file an output wrote that is gone, and an option given on the command line that
    // changes nothing in the document, make no difference but the first.
    fs::remove(build.folder.path("out/field_0.png"));
    EXPECT_EQ(build.build({"--jobs", "1", "--strict"}), "made out/field\n");
    EXPECT_EQ(build.build(), "");
}

// The same inputs give the same bytes, stamps included, on one thread or several and in
// another folder; no file holds a path of the machine.
TEST(BuildCommand, OutputsAndStampsAreTheSameOnAnyThreadCountAndInAnyFolder) {
    BuildFolder one;
    BuildFolder other;
    one.build({"--jobs", "1"});
    other.build({"--jobs", "3"});
    const std::vector<std::string> names{"field.json", "field.stamp", "field_0.png",
                                         "own.fnt",    "own.stamp",   "own_0.png",
                                         "serif.fnt",  "serif.stamp", "serif_0.png"};
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(one.folder.root() / "out")) {
        found.push_back(entry.path().filename().string());
    }
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, names);
    for (const std::string& name : names) {
        const std::vector<std::uint8_t> bytes = readBytes(one.folder.path("out/" + name));
        EXPECT_EQ(bytes, readBytes(other.folder.path("out/" + name))) << name;
        const std::string text(bytes.begin(), bytes.end());
        for (const std::string& path : {one.folder.root().string(), std::string("/usr/share"),
                                        std::string("fonts/sans"), std::string("chars.txt")}) {
            EXPECT_EQ(text.find(path), std::string::npos) << name << " holds " << path;
        }
    }
}

}  // namespace
}  // namespace vemro
