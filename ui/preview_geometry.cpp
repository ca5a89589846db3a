#include "ui/preview_geometry.h"

#include <algorithm>

namespace vemro::preview_geometry {

float scaleFor(int zoomPercent) {
    const int zoom = std::clamp(zoomPercent, kMinZoom, kMaxZoom);
    return static_cast<float>(100) / static_cast<float>(zoom);
}

int sourceExtent(int viewExtent, float scale) {
    return static_cast<int>(static_cast<double>(viewExtent) * static_cast<double>(scale));
}

int scrollMaximum(int sourceExtent) {
    return std::max(0, kCanvasSide - sourceExtent);
}

int viewCoordinate(std::int32_t canvasEdge, int scrollPosition, float scale) {
    const double distance = static_cast<double>(canvasEdge) - static_cast<double>(scrollPosition);
    return static_cast<int>(distance / static_cast<double>(scale));
}

}  // namespace vemro::preview_geometry
