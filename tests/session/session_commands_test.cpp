// The session's commands, without a window: New, Open and Save with what they say when a file
// cannot be used; adding and removing characters with the notes and the status line; and a font
// file in place of an installed face.

#include <gtest/gtest.h>

#include "engine/font/freetype_font_renderer.h"
#include "engine/text/windows1252.h"
#include "files/project/project_opener.h"
#include "session/session_text.h"
#include "tests/session/session_test_helpers.h"

namespace vemro {
namespace {

using testing::codesOf;
using testing::FakeFontRenderer;
using testing::row;
using testing::writeFile;
using testing::writeProject;

std::vector<char32_t> fullCharset() {
    std::vector<char32_t> codes;
    for (int byte = 32; byte <= 255; ++byte) {
        codes.push_back(windows1252ToUnicode(static_cast<std::uint8_t>(byte)));
    }
    return codes;
}

TEST(SessionCommands, TypedTextAddsEachNewCharacterOnceInOrder) {
    FakeFontRenderer renderer;
    EditingSession session(renderer, {});
    ASSERT_TRUE(session.addTypedText(u"abca"));
    EXPECT_EQ(codesOf(session.project().glyphs), (std::vector<char32_t>{U'a', U'b', U'c'}));
    EXPECT_EQ(session.waitForResult()->glyphs.size(), 3u);
    // Characters already there change nothing; a tab and a lone surrogate are left out, an
    // emoji's surrogate pair is one character. One step takes the whole text back.
    ASSERT_TRUE(session.addTypedText(u"cab"));
    EXPECT_EQ(session.undoLabel(), "Add characters");
    ASSERT_TRUE(session.addTypedText(u" \u00E9\t\u20AC\U0001F600\xD800\u30A2b\U0001F600"));
    EXPECT_EQ(codesOf(session.project().glyphs),
              (std::vector<char32_t>{U'a', U'b', U'c', U' ', U'\u00E9', U'\u20AC', U'\U0001F600',
                                     U'\u30A2'}));
    session.undo();
    EXPECT_EQ(codesOf(session.project().glyphs), (std::vector<char32_t>{U'a', U'b', U'c'}));
}

TEST(SessionCommands, FullCharsetAppendsWhatIsMissingAndNewEmptiesTheList) {
    FakeFontRenderer renderer;
    EditingSession session(renderer, {});
    ASSERT_TRUE(session.addTypedText(u"zA"));
    session.addFullCharset();
    // The characters of Windows-1252 bytes 32 to 255 in byte order, after those already there.
    std::vector<char32_t> codes = {U'z', U'A'};
    for (const char32_t code : fullCharset()) {
        if (code != U'z' && code != U'A') {
            codes.push_back(code);
        }
    }
    EXPECT_EQ(codesOf(session.project().glyphs), codes);
    EXPECT_EQ(session.waitForResult()->glyphs.size(), 224u);
    session.addFullCharset();
    EXPECT_EQ(codesOf(session.project().glyphs), codes);

    // New keeps the settings, and the emptied project has no file and counts as saved.
    session.setField(row("sizeSpin"), 20);
    session.newProject();
    EXPECT_TRUE(session.project().glyphs.empty());
    EXPECT_TRUE(session.waitForResult()->glyphs.empty());
    EXPECT_EQ(session.project().font.size, 20);
    EXPECT_FALSE(session.hasUnsavedChanges());
    session.undo();
    EXPECT_EQ(codesOf(session.project().glyphs), codes);
    EXPECT_TRUE(session.hasUnsavedChanges());
}

TEST(SessionCommands, StatusLineCountsGlyphsOutsideTheTextureAndNamesWhatTheFaceLacks) {
    FakeFontRenderer renderer;
    EditingSession session(renderer, {});
    EXPECT_EQ(session.statusLine(), "");
    session.setField(row("widthGroup"), 64);
    session.setField(row("heightGroup"), 64);
    session.addFullCharset();
    const std::size_t outside = session.waitForResult()->glyphsOutsideTexture;
    EXPECT_GT(outside, 1u);
    EXPECT_EQ(session.statusLine().rfind(std::to_string(outside) +
                                             " glyphs lie partly or wholly outside the 64 x 64 "
                                             "texture. ",
                                         0),
              0u)
        << session.statusLine();

    // What stays is the face's lack of the delete code and of the five codes Windows-1252 leaves
    // undefined, drawn as its missing-glyph box; and of more than eight, the first eight.
    session.setField(row("widthGroup"), 512);
    session.setField(row("heightGroup"), 512);
    session.waitForResult();
    EXPECT_EQ(session.statusLine(),
              "6 characters are not in Alpha Sans: U+007F U+0081 U+008D U+008F U+0090 U+009D");
    ASSERT_TRUE(session.addTypedText(u"\u4E00\u4E8C\u4E09\u4E5D"));
    session.waitForResult();
    EXPECT_EQ(session.statusLine(),
              "10 characters are not in Alpha Sans: U+007F U+0081 U+008D "
              "U+008F U+0090 U+009D \u4E00 \u4E8C ...");
    // Several pages are counted first.
    session.setField(row("widthGroup"), 64);
    session.setField(row("heightGroup"), 64);
    session.setField(row("multiplePagesCheck"), 1);
    const std::size_t pages = session.waitForResult()->pages.size();
    EXPECT_GT(pages, 2u);
    EXPECT_EQ(session.statusLine().rfind(std::to_string(pages) + " pages. 10 characters", 0), 0u);

    // Remove characters the face lacks takes them out as one step.
    session.removeMissingCharacters();
    EXPECT_EQ(session.project().glyphs.size(), 224u - 6u);
    EXPECT_EQ(session.undoLabel(), "Remove characters the face lacks");
}

TEST(SessionCommands, RemovingTakesOutEveryGlyphOfTheCharacters) {
    TestFolder folder;
    ProjectFile stored;
    stored.faceName = "Alpha Sans";
    stored.glyphs = {{'A', 0, 0}, {'b', 0, 0}, {'A', 1, 1}, {'z', 0, 0}};
    FakeFontRenderer renderer;
    EditingSession session(renderer, {});
    ASSERT_TRUE(session.open(writeProject(folder, "stored.fnt", stored)));
    session.removeCharacter(2);
    EXPECT_EQ(codesOf(session.project().glyphs), (std::vector<char32_t>{U'b', U'z'}));
    session.removeTypedText(u"zqb");
    EXPECT_TRUE(session.project().glyphs.empty());
    session.undo();
    session.undo();
    EXPECT_EQ(codesOf(session.project().glyphs), (std::vector<char32_t>{U'A', U'b', U'A', U'z'}));
}

TEST(SessionCommands, CharacterFileAddsOrIsRefusedWhole) {
    TestFolder folder;
    FakeFontRenderer renderer;
    EditingSession session(renderer, {});
    // A byte-order mark, line breaks (a paragraph separator too) and repeats; then the same with
    // a stray byte at 9.
    const std::string strings =
        "\xEF\xBB\xBF\xD0\x9F\xD1\x80\r\n\xCE\xBA\xE3\x82\xA2 "
        "\xE2\x80\xA9\xD0\x9F";
    writeFile(folder.path("good.txt"), strings);
    writeFile(folder.path("bad.txt"), strings.substr(0, 9) + "\x80" + strings.substr(9));
    ASSERT_TRUE(session.addCharactersFromFile(folder.path("good.txt")));
    EXPECT_EQ(codesOf(session.project().glyphs),
              (std::vector<char32_t>{U'\u041F', U'\u0440', U'\u03BA', U'\u30A2', U' '}));
    EXPECT_EQ(session.note(), "Added 5 characters.");
    EXPECT_EQ(session.statusLine().rfind("Added 5 characters. ", 0), 0u);
    ASSERT_TRUE(session.addCharactersFromFile(folder.path("good.txt")));
    EXPECT_EQ(session.note(), "All 5 characters were in the list already.");

    const Document before = session.document();
    const Status refused = session.addCharactersFromFile(folder.path("bad.txt"));
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.message().find("at byte 9 "), std::string::npos) << refused.message();
    EXPECT_EQ(session.document(), before);
    session.undo();
    EXPECT_TRUE(session.project().glyphs.empty());
}

TEST(SessionCommands, CharacterSetsAreNotedAndALongerListThanAFileHoldsIsRefused) {
    FakeFontRenderer renderer;
    EditingSession session(renderer, {});
    const CharacterSetChoice greek{{U'\u0391', U'\u0392', U'\u0393'}, 2, {"Greek and Coptic"}};
    ASSERT_TRUE(session.addCharacterSet(greek));
    EXPECT_EQ(session.note(), "Added 3 characters; Alpha Sans lacks 2.");
    ASSERT_TRUE(session.addCharacterSet({{U'\u0391'}, 0, {"Greek and Coptic"}}));
    EXPECT_EQ(session.note(), "The character was in the list already.");
    ASSERT_TRUE(session.addCharacterSet({{}, 93, {"Hiragana"}}));
    EXPECT_EQ(session.note(), "Alpha Sans has none of the 93 characters of Hiragana.");
    ASSERT_TRUE(session.addCharacterSet({{U'\u0391', U'x'}, 0, {"A", "B", "C", "D"}}));
    EXPECT_EQ(session.note(), "Added 1 character; 1 was in the list already.");

    // One past the characters a project file holds is refused, saying so; the list stays.
    CharacterSetChoice many;
    for (char32_t code = 0x10000; code < 0x10000 + 65536 - 3; ++code) {
        many.characters.push_back(code);
    }
    const Document before = session.document();
    const Status refused = session.addCharacterSet(many);
    EXPECT_EQ(refused.message(),
              "That would make 65,537 characters; a project holds at most 65,536.");
    EXPECT_EQ(session.document(), before);
    many.characters.pop_back();
    EXPECT_TRUE(session.addCharacterSet(many));
    EXPECT_EQ(session.project().glyphs.size(), 65536u);
}

TEST(SessionCommands, FailedOpenChangesNothingAndSaysWhy) {
    TestFolder folder;
    ProjectFile project;
    project.faceName = "Alpha Sans";
    project.glyphs = {{'a', 0, 0}, {'b', 0, 0}};
    const std::vector<std::uint8_t> bytes = encodeProjectFile(project);
    // The same file cut off inside its last record; a BMFont description, a .fnt too; a texture
    // side past the largest the header holds.
    const std::string truncated = folder.path("truncated.fnt");
    writeFile(truncated, std::string(bytes.begin(), bytes.end() - 4));
    const std::string bmfont = folder.path("bmfont.fnt");
    writeFile(bmfont, "info face=\"Arial\" size=32\r\ncommon lineHeight=32 base=26\r\n");
    project.textureWidth = 5000;
    const std::string wide = folder.path("wide.fnt");
    const std::vector<std::uint8_t> wideBytes = encodeProjectFile(project);
    writeFile(wide, std::string(wideBytes.begin(), wideBytes.end()));

    FakeFontRenderer renderer;
    EditingSession session(renderer, {});
    session.addFullCharset();
    session.setField(row("sizeSpin"), 20);
    const Document before = session.document();
    const std::shared_ptr<const AtlasResult> result = session.waitForResult();
    for (const std::string& path : {truncated, folder.path("missing.fnt"), bmfont, wide}) {
        const Result<std::vector<std::string>> opened = session.open(path);
        ASSERT_FALSE(opened);
        EXPECT_NE(opened.message().find(fileNameOf(path)), std::string::npos) << opened.message();
        EXPECT_EQ(session.document(), before);
        EXPECT_EQ(session.waitForResult(), result);
        EXPECT_TRUE(session.canUndo() && session.hasUnsavedChanges());
        EXPECT_TRUE(session.projectPath().empty());
    }
    const std::string description = session.open(bmfont).message();
    EXPECT_TRUE(description.ends_with(
        ": this is a BMFont font description, not a Vemro Font builder project."))
        << description;
    EXPECT_EQ(session.open("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf").message(),
              "\"DejaVuSans.ttf\" is a font file, not a project: use --font-file (or File > Use "
              "Font File...).");
}

TEST(SessionCommands, OpenKeepsWhatIsNotOnOfferAndSaveWritesWhatOpenRead) {
    TestFolder folder;
    ProjectFile strange;
    strange.faceName = "No Such Face";
    strange.weight = 500;
    strange.glyphs = {{'x', 0, 0}};
    FakeFontRenderer renderer;
    EditingSession session(renderer, {});
    session.setField(row("weightCombo"), FontSettings::kWeightBold);
    const Result<std::vector<std::string>> opened =
        session.open(writeProject(folder, "strange.fnt", strange));
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened.value().size(), 2u);
    EXPECT_EQ(session.project().font.weight, FontSettings::kWeightBold);
    EXPECT_EQ(session.projectPath(), folder.path("strange.fnt"));
    EXPECT_FALSE(session.hasUnsavedChanges());

    // A failed save says why and changes nothing; a save writes the document's bytes.
    const Status failed = session.save(folder.path("no/such/folder/work.fnt"));
    EXPECT_FALSE(failed);
    EXPECT_NE(failed.message().find("work.fnt"), std::string::npos) << failed.message();
    EXPECT_EQ(session.projectPath(), folder.path("strange.fnt"));
    session.setField(row("italicCheck"), 1);
    ASSERT_TRUE(session.save(folder.path("work.fnt")));
    EXPECT_EQ(readBytes(folder.path("work.fnt")),
              encodeProjectFile(projectFileFor(session.document())));
    EXPECT_EQ(session.projectPath(), folder.path("work.fnt"));
    EXPECT_FALSE(session.hasUnsavedChanges());
}

TEST(SessionCommands, AFontFileIsUsedAndAnInstalledFaceDropsIt) {
    FakeFontRenderer renderer;
    renderer.fontFiles["/fonts/Gamma.ttf"] = "Gamma Mono";
    EditingSession session(renderer, {});
    const Result<std::vector<FontFileFace>> missing = session.inspectFontFile("/fonts/none.ttf");
    EXPECT_EQ(missing.message(), "Cannot use the font file \"/fonts/none.ttf\": not a font.");
    const Result<std::vector<FontFileFace>> faces = session.inspectFontFile("/fonts/Gamma.ttf");
    ASSERT_TRUE(faces);
    EXPECT_EQ(EditingSession::faceCaption(faces.value().front()), "Gamma Mono Regular");
    session.useFontFile("/fonts/Gamma.ttf", faces.value().front());
    EXPECT_EQ(session.project().font.fontFile, "/fonts/Gamma.ttf");
    EXPECT_EQ(session.waitForResult()->fontName, "Gamma Mono");

    session.chooseInstalledFace("Beta Serif");
    EXPECT_TRUE(session.project().font.fontFile.empty());
    EXPECT_EQ(session.waitForResult()->fontName, "Beta Serif");
    session.undo();
    EXPECT_EQ(session.project().font.fontFile, "/fonts/Gamma.ttf");
    EXPECT_EQ(session.undoLabel(), "Use Font File");
}

}  // namespace
}  // namespace vemro

namespace vemro {
namespace {

// The missing-characters note offers what fontconfig picks for them; one click adds it as a
// fallback, after which nothing is missing, and one undo takes it back.
TEST(SessionCommands, MissingCharactersOfferFontconfigsFaceInOneClick) {
    FreetypeFontRenderer renderer;
    EditingSession session(renderer, {});
    session.chooseInstalledFace("DejaVu Sans");
    ASSERT_TRUE(session.addTypedText(u"A\u65E5\u672C\u8A9E"));
    session.waitForResult();
    const std::string offer = session.fallbackOffer();
    ASSERT_FALSE(offer.empty());
    EXPECT_NE(
        session.statusLine().find("3 characters are not in DejaVu Sans: take them from " + offer),
        std::string::npos)
        << session.statusLine();
    session.takeFallbackOffer();
    EXPECT_EQ(session.project().fallbacks, (std::vector<FallbackFace>{FallbackFace{offer}}));
    EXPECT_TRUE(charactersMissingFromFont(*session.waitForResult()).empty());
    EXPECT_TRUE(session.fallbackOffer().empty());
    session.undo();
    EXPECT_TRUE(session.project().fallbacks.empty());
    EXPECT_EQ(charactersMissingFromFont(*session.waitForResult()).size(), 3u);
}

}  // namespace
}  // namespace vemro
