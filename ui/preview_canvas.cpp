#include "ui/preview_canvas.h"

#include <algorithm>
#include <cstddef>

#include "engine/atlas_result.h"
#include "ui/preview_geometry.h"

namespace vemro::preview_canvas {

namespace {

constexpr int kSide = preview_geometry::kCanvasSide;
constexpr int kHatchPeriod = 10;
constexpr QRgb kHatchGrey = 0xFF808080u;
constexpr QRgb kBlack = 0xFF000000u;

// The hatch over the whole canvas. Its diagonals are anchored at the canvas's left and right
// edges, so the pattern does not depend on the texture size.
QImage makeHatch() {
    QImage image(kSide, kSide, QImage::Format_RGB32);
    for (int y = 0; y < kSide; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const int phase = y % kHatchPeriod;
        for (int x = 0; x < kSide; ++x) {
            const bool onDiagonal =
                x % kHatchPeriod == phase || (kSide - x) % kHatchPeriod == phase;
            row[x] = onDiagonal ? kBlack : kHatchGrey;
        }
    }
    return image;
}

const QImage& hatch() {
    static const QImage image = makeHatch();
    return image;
}

}  // namespace

QImage compose(const AtlasPage* page) {
    // A copy of the shared hatch; the first write below detaches it.
    QImage canvas = hatch();
    if (page == nullptr) {
        return canvas;
    }
    const int columns = std::clamp(page->width, 0, kSide);
    const int rows = std::clamp(page->height, 0, kSide);
    for (int y = 0; y < rows; ++y) {
        auto* row = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        const std::uint8_t* coverage =
            page->pixels.data() +
            static_cast<std::size_t>(y) * static_cast<std::size_t>(page->width);
        for (int x = 0; x < columns; ++x) {
            row[x] = kBlack | (QRgb{coverage[x]} * 0x010101u);
        }
    }
    return canvas;
}

}  // namespace vemro::preview_canvas
