#include "ui/preview_geometry.h"

#include <algorithm>
#include <cmath>

namespace vemro::preview_geometry {

float scaleFor(int zoomPercent) {
    const int zoom = std::clamp(zoomPercent, kMinZoom, kMaxZoom);
    return static_cast<float>(100) / static_cast<float>(zoom);
}

int sourceExtent(int viewExtent, float scale) {
    return static_cast<int>(static_cast<double>(viewExtent) * static_cast<double>(scale));
}

int canvasExtent(int textureSide) {
    return std::max(kMinCanvasSide, textureSide);
}

int scrollMaximum(int canvasExtent, int sourceExtent) {
    return std::max(0, canvasExtent - sourceExtent);
}

int viewCoordinate(std::int32_t canvasEdge, int scrollPosition, float scale) {
    const double distance = static_cast<double>(canvasEdge) - static_cast<double>(scrollPosition);
    return static_cast<int>(distance / static_cast<double>(scale));
}

int nextZoomStep(int zoomPercent, int direction) {
    const int zoom = std::clamp(zoomPercent, kMinZoom, kMaxZoom);
    int next = zoom;
    if (direction > 0) {
        next = (zoom / kZoomStep + 1) * kZoomStep;
    } else if (direction < 0) {
        next = ((zoom - 1) / kZoomStep) * kZoomStep;
    }
    return std::clamp(next, kMinZoom, kMaxZoom);
}

int canvasPixelAt(int viewPixel, int scrollPosition, int viewExtent, int sourceExtent) {
    if (viewExtent <= 0) {
        return scrollPosition;
    }
    const double centre = static_cast<double>(viewPixel) + 0.5;
    return scrollPosition +
           static_cast<int>(std::floor(centre * sourceExtent / static_cast<double>(viewExtent)));
}

int scrollToShow(int canvasPixel, int viewPixel, int viewExtent, int sourceExtent,
                 int canvasExtent) {
    const int position = canvasPixel - canvasPixelAt(viewPixel, 0, viewExtent, sourceExtent);
    return std::clamp(position, 0, scrollMaximum(canvasExtent, sourceExtent));
}

}  // namespace vemro::preview_geometry
