#include "ui/sample_line_canvas.h"

#include <algorithm>
#include <cmath>

#include "engine/atlas/atlas_result.h"
#include "files/export/line_layout.h"
#include "ui/field_rendering.h"

namespace vemro::sample_line_canvas {

namespace {

// White at coverage alpha over a grey level: d + (255 - d) x alpha / 255, rounded.
std::uint32_t blendWhite(std::uint32_t ground, std::uint32_t alpha) {
    return ground + ((255 - ground) * alpha + 127) / 255;
}

// The checkerboard under colour pages: squares of 8 atlas pixels of two greys.
constexpr int kCheckerSquare = 8;
constexpr QRgb kCheckerLight = 0xFF9E9E9Eu;
constexpr QRgb kCheckerDark = 0xFF7A7A7Au;

int floorDiv(int value, int divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

// A colour (straight alpha) over a pixel: c x a + ground x (1 - a) in each channel, rounded.
QRgb blendColour(QRgb ground, const std::uint8_t* colour) {
    const std::uint32_t alpha = colour[3];
    const auto mix = [alpha](std::uint32_t over, std::uint32_t under) {
        return (over * alpha + under * (255 - alpha) + 127) / 255;
    };
    return 0xFF000000u | (mix(colour[0], qRed(ground)) << 16) |
           (mix(colour[1], qGreen(ground)) << 8) | mix(colour[2], qBlue(ground));
}

}  // namespace

QImage compose(const AtlasResult& result, const LaidOutLine& line, QRect region) {
    QImage image(region.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    const bool colour = result.encoding.kind == AtlasKind::Colour;
    if (colour) {
        // Colours are seen over the checkerboard the preview shows them on, so that a black
        // outline or shadow shows.
        for (int y = 0; y < region.height(); ++y) {
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < region.width(); ++x) {
                const bool light = (floorDiv(region.x() + x, kCheckerSquare) +
                                    floorDiv(region.y() + y, kCheckerSquare)) %
                                       2 ==
                                   0;
                out[x] = light ? kCheckerLight : kCheckerDark;
            }
        }
    }
    for (const LaidOutChar& c : line.chars) {
        if (c.page < 0 || static_cast<std::size_t>(c.page) >= result.pages.size()) {
            continue;
        }
        const AtlasPage& page = result.pages[static_cast<std::size_t>(c.page)];
        // The rectangle's part on its page, where it lands on the line, and that within region.
        const QRect onPage =
            QRect(c.x, c.y, c.width, c.height) & QRect(0, 0, page.width, page.height);
        const QRect target = onPage.translated(c.left - c.x, c.top - c.y) & region;
        for (int y = target.top(); y <= target.bottom(); ++y) {
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(y - region.y()));
            const int pageY = y - c.top + c.y;
            for (int x = target.left(); x <= target.right(); ++x) {
                if (colour) {
                    const std::size_t at =
                        (static_cast<std::size_t>(pageY) * static_cast<std::size_t>(page.width) +
                         static_cast<std::size_t>(x - c.left + c.x)) *
                        4;
                    QRgb& pixel = out[x - region.x()];
                    pixel = blendColour(pixel, page.pixels.data() + at);
                    continue;
                }
                const std::uint32_t alpha = page.at(x - c.left + c.x, pageY);
                if (alpha == 0) {
                    continue;
                }
                QRgb& pixel = out[x - region.x()];
                pixel = 0xFF000000u | blendWhite(qRed(pixel), alpha) * 0x010101u;
            }
        }
    }
    return image;
}

QImage composeField(const AtlasResult& result, const LaidOutLine& line, QPointF origin, double step,
                    QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (const LaidOutChar& c : line.chars) {
        if (c.page < 0 || static_cast<std::size_t>(c.page) >= result.pages.size() || c.width <= 0 ||
            c.height <= 0) {
            continue;
        }
        const AtlasPage& page = result.pages[static_cast<std::size_t>(c.page)];
        // The view pixels whose centres fall inside the character's rectangle on the line.
        const auto first = [step](double from, double origin) {
            return static_cast<int>(std::ceil((from - origin) / step - 0.5));
        };
        const int i0 = std::max(first(c.left, origin.x()), 0);
        const int i1 = std::min(first(c.left + c.width, origin.x()), size.width());
        const int j0 = std::max(first(c.top, origin.y()), 0);
        const int j1 = std::min(first(c.top + c.height, origin.y()), size.height());
        for (int j = j0; j < j1; ++j) {
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(j));
            const double y = origin.y() + (j + 0.5) * step - c.top + c.y;
            for (int i = i0; i < i1; ++i) {
                const double x = origin.x() + (i + 0.5) * step - c.left + c.x;
                const std::uint32_t alpha = field_rendering::coverage(
                    field_rendering::sample(page, x, y), result.encoding, step);
                if (alpha != 0) {
                    out[i] = 0xFF000000u | blendWhite(qRed(out[i]), alpha) * 0x010101u;
                }
            }
        }
    }
    return image;
}

}  // namespace vemro::sample_line_canvas
