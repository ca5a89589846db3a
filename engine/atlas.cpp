#include "engine/atlas.h"

#include <algorithm>
#include <cstdlib>

#include "engine/cell_reducer.h"
#include "engine/fill_background.h"

namespace vemro {

namespace {

std::int32_t clampFactor(std::int32_t factor) {
    return std::clamp(factor, FontSettings::kMinFactor, FontSettings::kMaxFactor);
}

}  // namespace

Atlas::Atlas(FontRenderer& renderer) : renderer_(renderer) {
    atlasSurface_.create(PixelSurface::kAtlasSide, PixelSurface::kAtlasSide);
}

bool Atlas::setTextureSize(AtlasSize size) {
    if (!AtlasSize::isValidSide(size.width) || !AtlasSize::isValidSide(size.height)) {
        return false;
    }
    textureSize_ = size;
    return true;
}

bool Atlas::setCharacterBorders(std::size_t index, std::int32_t left, std::int32_t right) {
    Glyph* glyph = glyphs_.glyphAt(index);
    if (glyph == nullptr) {
        return false;
    }
    glyph->charBorderLeft = left;
    glyph->charBorderRight = right;
    return true;
}

void Atlas::newAtlas() {
    glyphs_.clearGlyphs();
}

void Atlas::addFullCharset() {
    for (int code = 32; code <= 255; ++code) {
        glyphs_.addCharacter(static_cast<std::uint8_t>(code));
    }
}

std::int32_t Atlas::pixelHeightFor(std::int32_t size, std::int32_t factor) {
    const std::int64_t points =
        std::int64_t{std::clamp(size, FontSettings::kMinSize, FontSettings::kMaxSize)} *
        clampFactor(factor);
    // points x 96 / 72, rounded to nearest with halves away from zero (points is positive).
    return static_cast<std::int32_t>((points * 96 + 36) / 72);
}

void Atlas::recreateFont(const FontSettings& settings) {
    FontRequest request;
    request.faceName = settings.faceName;
    request.pixelHeight = pixelHeightFor(settings.size, settings.factor);
    request.weight = settings.weight;
    request.antialiased = settings.quality != FontSettings::kQualityNonAntialiased;
    request.italic = settings.italic;
    renderer_.createFont(request);
    for (CachedGlyph& entry : glyphCache_) {
        entry = CachedGlyph{};
    }
}

GlyphMetrics Atlas::glyphMetrics(std::uint8_t code, bool drawNow) {
    CachedGlyph& entry = glyphCache_[code];
    if (!entry.metrics) {
        if (!drawNow) {
            entry.metrics = renderer_.measureGlyph(code);
        }
        if (!entry.metrics) {
            const GlyphImage& image = glyphImage(code);
            entry.metrics = GlyphMetrics{image.a, image.b};
        }
    }
    return *entry.metrics;
}

const GlyphImage& Atlas::glyphImage(std::uint8_t code) {
    CachedGlyph& entry = glyphCache_[code];
    if (!entry.image) {
        entry.image = renderer_.renderGlyph(code);
    }
    return *entry.image;
}

const ReducedInk& Atlas::reducedInk(std::uint8_t code, std::int32_t factor) {
    const GlyphImage& image = glyphImage(code);
    CachedGlyph& entry = glyphCache_[code];
    if (entry.reducedFactor != factor) {
        entry.reduced =
            reduceInk(image.coverage.data(), image.width, image.height, image.top, factor);
        entry.reducedFactor = factor;
    }
    return entry.reduced;
}

namespace {

// Lays cells out left to right with one pixel between them, starting a new row one pixel below
// the tallest cell so far whenever a cell would pass the texture's right edge.
class RowPacker {
public:
    explicit RowPacker(AtlasSize texture) : texture_(texture) {}

    void place(Glyph& glyph) {
        tallest_ = std::max(tallest_, glyph.height);
        if (x_ + glyph.width > texture_.width) {
            x_ = 0;
            y_ += tallest_ + 1;
        }
        glyph.x = x_;
        glyph.y = y_;
        x_ += glyph.width + 1;
    }

    // Whether the next cell's top-left corner lands inside the texture whatever its width, as
    // long as that width is not negative: on this row or, wrapped, at the start of the next.
    bool nextCellSurelyInside(std::int32_t height, bool widthNotNegative) const {
        if (height <= 0 || !widthNotNegative || x_ < 0 || x_ >= texture_.width) {
            return false;
        }
        const std::int64_t wrappedRow = std::int64_t{y_} + std::max(tallest_, height) + 1;
        return wrappedRow < texture_.height;
    }

private:
    AtlasSize texture_;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
    std::int32_t tallest_ = 0;
};

}  // namespace

void Atlas::measureGlyphs(std::int32_t factor) {
    factor = clampFactor(factor);
    const std::int32_t lineHeight = renderer_.lineHeight();
    const std::int32_t extraWidth = fontBorders_.left + fontBorders_.right;
    const std::int32_t extraHeight = fontBorders_.top + fontBorders_.bottom;
    const std::int32_t height = lineHeight / factor + extraHeight;
    // Packing is followed along so that characters whose cells surely land in the texture are
    // drawn at once, and the others only measured: a character is drawn when its cell shows.
    RowPacker packer(textureSize_);
    for (Glyph& glyph : glyphs_) {
        const std::int32_t extra = extraWidth + glyph.charBorderLeft + glyph.charBorderRight;
        const bool drawNow = packer.nextCellSurelyInside(height, extra >= 0);
        const std::int32_t blackBox = std::abs(glyphMetrics(glyph.code, drawNow).b);
        glyph.width = blackBox / factor + extraWidth + glyph.charBorderLeft + glyph.charBorderRight;
        glyph.height = height;
        packer.place(glyph);
    }
}

void Atlas::packGlyphs() {
    RowPacker packer(textureSize_);
    for (Glyph& glyph : glyphs_) {
        packer.place(glyph);
    }
}

void Atlas::rasteriseGlyphs(std::int32_t factor) {
    factor = clampFactor(factor);
    // Never write past the atlas surface, whatever the texture size claims.
    const AtlasSize texture{std::min(textureSize_.width, atlasSurface_.width()),
                            std::min(textureSize_.height, atlasSurface_.height())};
    for (const Glyph& glyph : glyphs_) {
        const CellPlacement cell{glyph.x, glyph.y, glyph.width, glyph.height, factor};
        const VisibleCell visible = visiblePart(cell, texture);
        if (visible.empty()) {
            continue;
        }
        // The visible part of the cell is black but for the ink. The borders are whole atlas
        // pixels, so the ink reduced once for this factor lands on the cell unchanged: its
        // left edge right after the font's and the glyph's left borders, its vertical offset
        // counted from the bottom of the top border. Each visible pixel is written once.
        const ReducedInk& ink = reducedInk(glyph.code, factor);
        const std::int32_t inkLeft = fontBorders_.left + glyph.charBorderLeft;
        const std::int32_t inkTop = fontBorders_.top + ink.top;
        const std::int32_t inkBegin = std::clamp(inkLeft, visible.firstColumn, visible.endColumn);
        const std::int32_t inkEnd = std::clamp(inkLeft + ink.width, inkBegin, visible.endColumn);
        // Cell columns first..end land on surface columns glyph.x + first..glyph.x + end.
        const auto at = [&](std::int32_t j, std::int32_t column) {
            return atlasSurface_.row(glyph.y + j) + (glyph.x + column);
        };
        for (std::int32_t j = visible.firstRow; j < visible.endRow; ++j) {
            if (j < inkTop || j >= inkTop + ink.height || inkBegin == inkEnd) {
                std::fill(at(j, visible.firstColumn), at(j, visible.endColumn), 0u);
                continue;
            }
            const std::uint32_t* source = ink.pixels.data() +
                                          static_cast<std::size_t>(j - inkTop) * ink.width +
                                          (inkBegin - inkLeft);
            std::fill(at(j, visible.firstColumn), at(j, inkBegin), 0u);
            std::copy(source, source + (inkEnd - inkBegin), at(j, inkBegin));
            std::fill(at(j, inkEnd), at(j, visible.endColumn), 0u);
        }
    }
}

void Atlas::rebuildAtlas(std::int32_t factor) {
    // Outside the texture the surface only ever holds the hatch, which depends on the texture
    // size alone; when that is unchanged only the texture is painted black again.
    if (backgroundSize_ != textureSize_) {
        fillBackground(atlasSurface_, textureSize_);
        backgroundSize_ = textureSize_;
    } else {
        const std::int32_t columns = std::clamp(textureSize_.width, 0, atlasSurface_.width());
        const std::int32_t rows = std::clamp(textureSize_.height, 0, atlasSurface_.height());
        for (std::int32_t y = 0; y < rows; ++y) {
            std::fill(atlasSurface_.row(y), atlasSurface_.row(y) + columns, 0u);
        }
    }
    measureGlyphs(factor);
    packGlyphs();
    rasteriseGlyphs(factor);
    if (listener_) {
        listener_();
    }
}

std::size_t Atlas::glyphsOutsideTexture() const {
    return static_cast<std::size_t>(
        std::count_if(glyphs_.begin(), glyphs_.end(), [this](const Glyph& glyph) {
            return glyph.x < 0 || glyph.y < 0 ||
                   std::int64_t{glyph.x} + glyph.width > textureSize_.width ||
                   std::int64_t{glyph.y} + glyph.height > textureSize_.height;
        }));
}

}  // namespace vemro
