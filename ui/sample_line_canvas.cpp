#include "ui/sample_line_canvas.h"

#include <algorithm>

#include "engine/atlas_result.h"
#include "files/line_layout.h"

namespace vemro::sample_line_canvas {

namespace {

// White at coverage alpha over a grey level: d + (255 - d) x alpha / 255, rounded.
std::uint32_t blendWhite(std::uint32_t ground, std::uint32_t alpha) {
    return ground + ((255 - ground) * alpha + 127) / 255;
}

}  // namespace

QImage compose(const AtlasResult& result, const LaidOutLine& line, QRect region) {
    QImage image(region.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
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

}  // namespace vemro::sample_line_canvas
