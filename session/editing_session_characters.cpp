// The session's character commands: adding typed text, Unicode blocks, the characters of a text
// file and the full charset; removing a character, typed ones and those the face lacks; and the
// note of what an addition did.

#include <algorithm>

#include "engine/text/unicode_text.h"
#include "engine/text/windows1252.h"
#include "files/io/character_file.h"
#include "files/project/project_file.h"
#include "session/editing_session.h"
#include "session/session_text.h"

namespace vemro {

namespace {

// What adding chosen characters did: added, already in the list, lacking from the face (left
// out of the blocks).
std::string addedNote(std::size_t added, std::size_t already, std::size_t lacking,
                      const std::string& face, const std::vector<std::string>& blocks) {
    if (added == 0 && already == 0 && lacking > 0) {
        const std::string named = blocks.size() <= 3
                                      ? joinNames(blocks)
                                      : "the " + std::to_string(blocks.size()) + " blocks";
        return face + " has none of the " + charactersText(lacking) + " of " + named + ".";
    }
    if (added == 0 && lacking == 0 && already > 0) {
        return already == 1 ? "The character was in the list already."
                            : "All " + charactersText(already) + " were in the list already.";
    }
    std::vector<std::string> rest;
    if (already > 0) {
        rest.push_back(already == 1 ? "1 was in the list already"
                                    : countText(already) + " were in the list already");
    }
    if (lacking > 0) {
        rest.push_back(face + " lacks " + countText(lacking));
    }
    if (added == 0) {
        return rest.empty() ? "Added no characters."
                            : "Added no characters: " + joinNames(rest) + ".";
    }
    return rest.empty() ? "Added " + charactersText(added) + "."
                        : "Added " + charactersText(added) + "; " + joinNames(rest) + ".";
}

}  // namespace

Result<std::size_t> EditingSession::addCharacters(const std::string& label,
                                                  const std::vector<char32_t>& characters) {
    const GlyphList& glyphs = document_.project.glyphs;
    const auto fresh = static_cast<std::size_t>(
        std::count_if(characters.begin(), characters.end(),
                      [&glyphs](char32_t code) { return !glyphs.contains(code); }));
    const std::size_t total = glyphs.size() + fresh;
    if (total > static_cast<std::size_t>(kMaxProjectCharacters)) {
        return Result<std::size_t>::failure("That would make " + countText(total) +
                                            " characters; a project holds at most " +
                                            countText(kMaxProjectCharacters) + ".");
    }
    edit(label, [&characters](Document& document) {
        for (const char32_t code : characters) {
            document.project.glyphs.addCharacter(code);
        }
    });
    return fresh;
}

void EditingSession::noteAdded(std::size_t added, std::size_t chosen, std::size_t lacking,
                               const std::vector<std::string>& blocks) {
    note_ = addedNote(added, chosen - added, lacking, result_->fontName, blocks);
}

Status EditingSession::addTypedText(std::u16string_view text) {
    const Result<std::size_t> added =
        addCharacters("Add characters", distinctAddableCharacters(joinUtf16(text)));
    return added ? Status::success() : Status::failure(added.message());
}

Status EditingSession::addCharacterSet(const CharacterSetChoice& choice) {
    const Result<std::size_t> added = addCharacters("Add character set", choice.characters);
    if (!added) {
        return Status::failure(added.message());
    }
    noteAdded(added.value(), choice.characters.size(), choice.lacking, choice.blocks);
    return Status::success();
}

Status EditingSession::addCharactersFromFile(const std::string& path) {
    const Result<std::vector<char32_t>> read = readCharacterFile(path);
    if (!read) {
        return Status::failure(sentence(read.message()));
    }
    const Result<std::size_t> added = addCharacters("Add characters from file", read.value());
    if (!added) {
        return Status::failure(added.message());
    }
    noteAdded(added.value(), read.value().size(), 0, {});
    return Status::success();
}

void EditingSession::addFullCharset() {
    edit("Add Torvyn Charset", [](Document& document) {
        for (int code = 32; code <= 255; ++code) {
            document.project.glyphs.addCharacter(
                windows1252ToUnicode(static_cast<std::uint8_t>(code)));
        }
    });
}

void EditingSession::removeCharacters(const std::string& label,
                                      const std::vector<char32_t>& characters) {
    edit(label, [&characters](Document& document) {
        for (const char32_t code : characters) {
            document.project.glyphs.removeCharacter(code);
        }
    });
}

void EditingSession::removeCharacter(std::size_t index) {
    if (const Glyph* glyph = document_.project.glyphs.glyphAt(index)) {
        removeCharacters("Remove character", {glyph->code});
    }
}

void EditingSession::removeTypedText(std::u16string_view text) {
    removeCharacters("Remove characters", joinUtf16(text));
}

void EditingSession::removeMissingCharacters() {
    const std::shared_ptr<const AtlasResult> atlas = waitForResult();
    if (!atlas->fontName.empty()) {
        removeCharacters("Remove characters the face lacks", charactersMissingFromFont(*atlas));
    }
}

}  // namespace vemro
