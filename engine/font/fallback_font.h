#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/font/font_renderer.h"

namespace vemro {

// A font drawn from a primary face and faces that stand in for it: each character comes from the
// first face that has a glyph for it (the primary face when none has), at the same pixel height,
// on the primary face's line: its line height and ascent, each glyph moved so that its baseline
// is the primary face's. Advances are the drawing face's own; kerning is only between two
// characters drawn from the same face.
class FallbackFont final : public Font {
public:
    // fonts[0] is the primary face's font; none may be null.
    explicit FallbackFont(std::vector<std::unique_ptr<Font>> fonts);

    std::int32_t lineHeight() const override { return fonts_.front()->lineHeight(); }
    std::int32_t ascent() const override { return fonts_.front()->ascent(); }
    GlyphImage renderGlyph(char32_t code) override;
    std::optional<GlyphMetrics> measureGlyph(char32_t code) override;
    GlyphImage renderBordered(char32_t code, std::int32_t radius) override;
    // The drawing face's outline: it already stands on the baseline every face shares.
    std::optional<field::Shape> outline(char32_t code) override;
    GlyphInfo glyphInfo(char32_t code) override;
    std::string familyName() const override { return fonts_.front()->familyName(); }
    // Every character some face has, ascending.
    std::vector<char32_t> characters() override;
    std::vector<KerningPair> kerningPairs(const std::vector<char32_t>& characters) override;

    // The index in the list of the font that draws the character.
    std::size_t fontFor(char32_t code);

private:
    // Moves an image of font `index` onto the primary face's baseline.
    GlyphImage onPrimaryLine(GlyphImage image, std::size_t index) const;

    std::vector<std::unique_ptr<Font>> fonts_;
    std::unordered_map<char32_t, std::size_t> chosen_;
};

}  // namespace vemro
