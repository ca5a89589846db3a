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
    for (auto& entry : glyphCache_) {
        entry.reset();
    }
}

const GlyphImage& Atlas::glyphImage(std::uint8_t code) {
    std::optional<GlyphImage>& entry = glyphCache_[code];
    if (!entry) {
        entry = renderer_.renderGlyph(code);
    }
    return *entry;
}

void Atlas::measureGlyphs(std::int32_t factor) {
    factor = clampFactor(factor);
    const std::int32_t lineHeight = renderer_.lineHeight();
    const std::int32_t extraWidth = fontBorders_.left + fontBorders_.right;
    const std::int32_t extraHeight = fontBorders_.top + fontBorders_.bottom;
    for (Glyph& glyph : glyphs_) {
        const std::int32_t blackBox = std::abs(glyphImage(glyph.code).b);
        glyph.width = blackBox / factor + extraWidth + glyph.charBorderLeft + glyph.charBorderRight;
        glyph.height = lineHeight / factor + extraHeight;
    }
}

void Atlas::packGlyphs() {
    std::int32_t px = 0;
    std::int32_t py = 0;
    std::int32_t tallest = 0;
    for (Glyph& glyph : glyphs_) {
        tallest = std::max(tallest, glyph.height);
        if (px + glyph.width > textureSize_.width) {
            px = 0;
            py += tallest + 1;
        }
        glyph.x = px;
        glyph.y = py;
        px += glyph.width + 1;
    }
}

void Atlas::rasteriseGlyphs(std::int32_t factor) {
    factor = clampFactor(factor);
    for (const Glyph& glyph : glyphs_) {
        const CellPlacement cell{glyph.x, glyph.y, glyph.width, glyph.height, factor};
        const VisibleCell visible = visiblePart(cell, textureSize_);
        if (visible.empty()) {
            continue;
        }
        // The drawing only needs to cover the source pixels of the visible part of the cell.
        const std::int32_t originX = visible.firstColumn * factor;
        const std::int32_t originY = visible.firstRow * factor;
        const std::int32_t bufferWidth = visible.endColumn * factor - originX;
        const std::int32_t bufferHeight = visible.endRow * factor - originY;
        if (renderSurface_.width() < bufferWidth || renderSurface_.height() < bufferHeight) {
            renderSurface_.create(std::max(renderSurface_.width(), bufferWidth),
                                  std::max(renderSurface_.height(), bufferHeight));
        }
        for (std::int32_t y = 0; y < bufferHeight; ++y) {
            std::uint32_t* row = renderSurface_.row(y);
            std::fill(row, row + bufferWidth, 0u);
        }

        // The ink's left edge lands right after the font's and the glyph's left borders; the
        // top of the character cell lies the top border below the cell's top.
        const GlyphImage& image = glyphImage(glyph.code);
        const std::int32_t inkX = (fontBorders_.left + glyph.charBorderLeft) * factor - originX;
        const std::int32_t inkY = fontBorders_.top * factor + image.top - originY;
        const std::int32_t firstInkRow = std::max(0, -inkY);
        const std::int32_t endInkRow = std::min(image.height, bufferHeight - inkY);
        const std::int32_t firstInkColumn = std::max(0, -inkX);
        const std::int32_t endInkColumn = std::min(image.width, bufferWidth - inkX);
        for (std::int32_t iy = firstInkRow; iy < endInkRow; ++iy) {
            const std::uint8_t* coverage =
                image.coverage.data() + static_cast<std::size_t>(iy) * image.width;
            std::uint32_t* row = renderSurface_.row(inkY + iy);
            for (std::int32_t ix = firstInkColumn; ix < endInkColumn; ++ix) {
                row[inkX + ix] = std::uint32_t{coverage[ix]} * 0x010101u;
            }
        }
        reduceCell(renderSurface_, originX, originY, cell, textureSize_, atlasSurface_);
    }
}

void Atlas::rebuildAtlas(std::int32_t factor) {
    fillBackground(atlasSurface_, textureSize_);
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
