#include "engine/field/edge_colouring.h"

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace vemro::field {

namespace {

// Picks among equally good colours: a small deterministic generator.
class ColourChooser {
public:
    explicit ColourChooser(std::uint64_t seed) : state_(seed * 6364136223846793005ULL + 1) {}

    // One of the colours of choices that are not excluded.
    EdgeColour pick(EdgeColour excludeA, EdgeColour excludeB) {
        std::array<EdgeColour, 3> allowed{};
        std::size_t count = 0;
        for (const EdgeColour colour :
             {EdgeColour::cyan, EdgeColour::magenta, EdgeColour::yellow}) {
            if (colour != excludeA && colour != excludeB) {
                allowed[count++] = colour;
            }
        }
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return allowed[static_cast<std::size_t>(state_ >> 33) % count];
    }

private:
    std::uint64_t state_;
};

bool isCorner(Vector2 incoming, Vector2 outgoing, double turnThreshold) {
    const Vector2 a = normalised(incoming);
    const Vector2 b = normalised(outgoing);
    const double turn = std::atan2(std::abs(cross(a, b)), dot(a, b));
    return turn > turnThreshold;
}

// The contour's edges each split into `parts` equal parts.
void splitEdges(Contour& contour, int parts) {
    std::vector<EdgeSegment> split;
    for (const EdgeSegment& edge : contour.edges) {
        for (int i = 0; i < parts; ++i) {
            split.push_back(
                edge.part(static_cast<double>(i) / parts, static_cast<double>(i + 1) / parts));
        }
    }
    contour.edges = std::move(split);
}

void colourTeardrop(Contour& contour, std::size_t corner, ColourChooser& chooser) {
    if (contour.edges.size() < 3) {
        // One edge becomes three, two become four: enough for three runs of colour.
        const int parts = contour.edges.size() == 1 ? 3 : 2;
        splitEdges(contour, parts);
        corner *= static_cast<std::size_t>(parts);
    }
    const EdgeColour first = chooser.pick(EdgeColour::black, EdgeColour::black);
    const EdgeColour last = chooser.pick(first, first);
    const std::size_t count = contour.edges.size();
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t third = 3 * k / count;
        contour.edges[(corner + k) % count].setColour(third == 0   ? first
                                                      : third == 1 ? EdgeColour::white
                                                                   : last);
    }
}

void colourRuns(Contour& contour, const std::vector<std::size_t>& corners, ColourChooser& chooser) {
    const std::size_t count = contour.edges.size();
    const std::size_t runs = corners.size();
    std::size_t run = 0;
    const EdgeColour firstColour = chooser.pick(EdgeColour::black, EdgeColour::black);
    EdgeColour colour = firstColour;
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t index = (corners.front() + k) % count;
        if (k > 0 && run + 1 < runs && index == corners[run + 1]) {
            ++run;
            colour =
                run + 1 == runs ? chooser.pick(colour, firstColour) : chooser.pick(colour, colour);
        }
        contour.edges[index].setColour(colour);
    }
}

}  // namespace

void colourEdges(Shape& shape, double cornerAngle, std::uint64_t seed) {
    const double turnThreshold = std::numbers::pi - cornerAngle;
    ColourChooser chooser(seed);
    for (Contour& contour : shape.contours) {
        const std::size_t count = contour.edges.size();
        std::vector<std::size_t> corners;
        for (std::size_t i = 0; i < count; ++i) {
            const EdgeSegment& previous = contour.edges[(i + count - 1) % count];
            if (isCorner(previous.endDirection(), contour.edges[i].startDirection(),
                         turnThreshold)) {
                corners.push_back(i);
            }
        }
        if (corners.empty()) {
            for (EdgeSegment& edge : contour.edges) {
                edge.setColour(EdgeColour::white);
            }
        } else if (corners.size() == 1) {
            colourTeardrop(contour, corners.front(), chooser);
        } else {
            colourRuns(contour, corners, chooser);
        }
    }
}

}  // namespace vemro::field
