#include "engine/field/shape.h"

#include <algorithm>
#include <utility>

namespace vemro::field {

std::size_t Shape::edgeCount() const {
    std::size_t count = 0;
    for (const Contour& contour : contours) {
        count += contour.edges.size();
    }
    return count;
}

Box Shape::controlBox() const {
    Box box;
    for (const Contour& contour : contours) {
        for (const EdgeSegment& edge : contour.edges) {
            box.add(edge.controlBox());
        }
    }
    return box;
}

void Shape::tidy() {
    const Box box = controlBox();
    const double size = box.empty() ? 0 : std::max(box.right - box.left, box.top - box.bottom);
    // Gaps up to this size are rounding; larger ones are closed by a line.
    const double snap = size * 1e-9;
    for (Contour& contour : contours) {
        std::erase_if(contour.edges, [](const EdgeSegment& edge) { return edge.degenerate(); });
        std::vector<EdgeSegment> closed;
        closed.reserve(contour.edges.size());
        for (std::size_t i = 0; i < contour.edges.size(); ++i) {
            const Vector2 previousEnd =
                contour.edges[(i + contour.edges.size() - 1) % contour.edges.size()].end();
            const EdgeSegment& edge = contour.edges[i];
            if (edge.start() == previousEnd) {
                closed.push_back(edge);
            } else if (squaredLength(edge.start() - previousEnd) <= snap * snap) {
                closed.push_back(edge.withEnds(previousEnd, edge.end()));
            } else {
                closed.push_back(EdgeSegment::line(previousEnd, edge.start(), edge.colour()));
                closed.push_back(edge);
            }
        }
        contour.edges = std::move(closed);
    }
    std::erase_if(contours, [](const Contour& contour) { return contour.edges.empty(); });
}

}  // namespace vemro::field
