#include "ui/preview_canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "engine/atlas/atlas_result.h"
#include "ui/field_rendering.h"
#include "ui/preview_geometry.h"

namespace vemro::preview_canvas {

namespace {

constexpr int kHatchPeriod = 10;
constexpr QRgb kHatchGrey = 0xFF808080u;
constexpr QRgb kBlack = 0xFF000000u;
// The checkerboard under colour pages.
constexpr int kCheckerSquare = 8;
constexpr std::uint32_t kCheckerLight = 0x9E;
constexpr std::uint32_t kCheckerDark = 0x7A;

// The hatch's row y, from column x on, into row[0..count). Its diagonals are anchored at x = 0
// and at x = kMinCanvasSide (the right edge of the smallest canvas), so the pattern does not
// depend on the texture size and runs on unchanged over a larger canvas: the pixel is black
// where x % 10 or (kMinCanvasSide - x) mod 10 equals y % 10.
void fillHatch(QRgb* row, int x, int y, int count) {
    const int phase = y % kHatchPeriod;
    const int mirrored = (preview_geometry::kMinCanvasSide - phase) % kHatchPeriod;
    std::array<QRgb, kHatchPeriod> pattern{};
    for (int k = 0; k < kHatchPeriod; ++k) {
        pattern[static_cast<std::size_t>(k)] = k == phase || k == mirrored ? kBlack : kHatchGrey;
    }
    int k = x % kHatchPeriod;
    for (int i = 0; i < count; ++i) {
        row[i] = pattern[static_cast<std::size_t>(k)];
        k = k + 1 == kHatchPeriod ? 0 : k + 1;
    }
}

// A colour pixel (red, green, blue, straight alpha) over the checkerboard at page pixel (x, y).
QRgb overChecker(const std::uint8_t* pixel, int x, int y) {
    const std::uint32_t ground =
        (x / kCheckerSquare + y / kCheckerSquare) % 2 == 0 ? kCheckerLight : kCheckerDark;
    const std::uint32_t alpha = pixel[3];
    const auto mix = [&](std::uint32_t colour) {
        return (colour * alpha + ground * (255 - alpha) + 127) / 255;
    };
    return kBlack | (mix(pixel[0]) << 16) | (mix(pixel[1]) << 8) | mix(pixel[2]);
}

}  // namespace

QImage compose(const AtlasPage* page, QRect region) {
    QImage image(region.size(), QImage::Format_RGB32);
    const int pageWidth = page != nullptr ? page->width : 0;
    const int pageHeight = page != nullptr ? page->height : 0;
    for (int row = 0; row < region.height(); ++row) {
        const int y = region.y() + row;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(row));
        // Columns region.x() .. inside-1 lie on the page, the rest on the hatch.
        const int inside =
            y < pageHeight ? std::clamp(pageWidth, region.x(), region.right() + 1) : region.x();
        const int onPage = inside - region.x();
        if (onPage > 0 && page->channels == 4) {
            const std::uint8_t* pixels =
                page->pixels.data() + (static_cast<std::size_t>(y) * std::size_t(pageWidth) +
                                       static_cast<std::size_t>(region.x())) *
                                          4;
            for (int i = 0; i < onPage; ++i) {
                out[i] = overChecker(pixels + 4 * i, region.x() + i, y);
            }
        } else if (onPage > 0) {
            const std::uint8_t* coverage = page->pixels.data() +
                                           static_cast<std::size_t>(y) * std::size_t(pageWidth) +
                                           static_cast<std::size_t>(region.x());
            for (int i = 0; i < onPage; ++i) {
                out[i] = kBlack | (QRgb{coverage[i]} * 0x010101u);
            }
        }
        fillHatch(out + onPage, inside, y, region.width() - onPage);
    }
    return image;
}

QImage composeField(const AtlasPage* page, QPointF origin, QSizeF step, QSize size,
                    const AtlasEncoding& encoding) {
    QImage image(size, QImage::Format_RGB32);
    const int pageWidth = page != nullptr ? page->width : 0;
    const int pageHeight = page != nullptr ? page->height : 0;
    // One view pixel spans this many atlas pixels.
    const double pixels = std::max(step.width(), step.height());
    for (int j = 0; j < size.height(); ++j) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(j));
        const double y = origin.y() + (j + 0.5) * step.height();
        const int row = static_cast<int>(std::floor(y));
        for (int i = 0; i < size.width(); ++i) {
            const double x = origin.x() + (i + 0.5) * step.width();
            const int column = static_cast<int>(std::floor(x));
            if (column < pageWidth && row < pageHeight) {
                const std::uint8_t value = field_rendering::coverage(
                    field_rendering::sample(*page, x, y), encoding, pixels);
                out[i] = kBlack | (QRgb{value} * 0x010101u);
            } else {
                fillHatch(out + i, column, row, 1);
            }
        }
    }
    return image;
}

}  // namespace vemro::preview_canvas
