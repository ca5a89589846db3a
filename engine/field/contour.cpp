#include "engine/field/contour.h"

#include <algorithm>

namespace vemro::field {

double Contour::signedArea() const {
    double area = 0;
    for (const EdgeSegment& edge : edges) {
        for (int i = 1; i < edge.pointCount(); ++i) {
            area += cross(edge.controlPoint(i - 1), edge.controlPoint(i));
        }
    }
    return area;
}

void Contour::reverse() {
    std::reverse(edges.begin(), edges.end());
    for (EdgeSegment& edge : edges) {
        edge = edge.reversed();
    }
}

}  // namespace vemro::field
