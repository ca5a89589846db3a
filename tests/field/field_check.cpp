#include "tests/field/field_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/field/edge_colouring.h"
#include "engine/field/field_encoding.h"
#include "engine/field/field_generator.h"
#include "engine/field/outline_boundary.h"
#include "tests/field/outline_oracle.h"

namespace vemro::field::test {

namespace {

// Intersection over union of two sets of pixels.
struct Overlap {
    std::size_t both = 0;
    std::size_t either = 0;

    void add(bool a, bool b) {
        both += (a && b) ? 1 : 0;
        either += (a || b) ? 1 : 0;
    }
    void keepLeast(double& least, std::string& where, const std::string& name) const {
        const double value = either == 0 ? 1.0 : static_cast<double>(both) / either;
        if (value < least) {
            least = value;
            where = name;
        }
    }
};

// Where the centre of a pixel of the frame magnified `scale` times lies on the shape.
Vector2 magnifiedCentre(const FieldFrame& frame, int scale, int x, int y) {
    return {frame.origin.x + (x + 0.5) / scale * frame.pixelSize,
            frame.origin.y - (y + 0.5) / scale * frame.pixelSize};
}

double median3(double a, double b, double c) {
    return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

}  // namespace

const char* kindName(FieldKind kind) {
    switch (kind) {
        case FieldKind::sdf:
            return "sdf";
        case FieldKind::psdf:
            return "psdf";
        case FieldKind::msdf:
            return "msdf";
        case FieldKind::mtsdf:
            return "mtsdf";
    }
    return "?";
}

double sampleField(const std::vector<std::uint8_t>& field, int width, int height, int channels,
                   double x, double y) {
    const auto at = [&](int column, int row, int channel) {
        column = std::clamp(column, 0, width - 1);
        row = std::clamp(row, 0, height - 1);
        return static_cast<double>(
            field[(static_cast<std::size_t>(row) * width + column) * channels + channel]);
    };
    const double fx = x - 0.5;
    const double fy = y - 0.5;
    const int x0 = static_cast<int>(std::floor(fx));
    const int y0 = static_cast<int>(std::floor(fy));
    const double ax = fx - x0;
    const double ay = fy - y0;
    double v[3] = {0, 0, 0};
    const int used = std::min(channels, 3);
    for (int c = 0; c < used; ++c) {
        v[c] = (at(x0, y0, c) * (1 - ax) + at(x0 + 1, y0, c) * ax) * (1 - ay) +
               (at(x0, y0 + 1, c) * (1 - ax) + at(x0 + 1, y0 + 1, c) * ax) * ay;
    }
    return used == 3 ? median3(v[0], v[1], v[2]) : v[0];
}

std::vector<std::uint8_t> magnifiedInside(const std::vector<std::uint8_t>& field, int width,
                                          int height, int channels, int scale) {
    std::vector<std::uint8_t> inside(static_cast<std::size_t>(width) * scale * height * scale);
    for (int y = 0; y < height * scale; ++y) {
        for (int x = 0; x < width * scale; ++x) {
            const double value =
                sampleField(field, width, height, channels, (x + 0.5) / scale, (y + 0.5) / scale);
            inside[static_cast<std::size_t>(y) * width * scale + x] = value >= 128 ? 1 : 0;
        }
    }
    return inside;
}

FieldFigures::FieldFigures() {
    for (auto& row : leastOverlap) {
        row.fill(1.0);
    }
    for (auto& row : leastExactOverlap) {
        row.fill(1.0);
    }
}

std::string FieldFigures::summary() const {
    char line[160];
    std::snprintf(line, sizeof line,
                  "%d glyphs: worst true-distance error %.4f px (%s), %d pixels on the wrong "
                  "side\n",
                  glyphs, worstDistanceError, worstDistanceGlyph.c_str(), wrongSides);
    std::string text = line;
    for (std::size_t k = 0; k < kAllKinds.size(); ++k) {
        std::snprintf(line, sizeof line, "  %-5s least IoU", kindName(kAllKinds[k]));
        text += line;
        if (withCoverage) {
            for (std::size_t s = 0; s < kScales.size(); ++s) {
                std::snprintf(line, sizeof line, "  %dx %.4f (%s)", kScales[s], leastOverlap[k][s],
                              leastOverlapGlyph[k][s].c_str());
                text += line;
            }
            text += "\n                 ";
        }
        text += " vs outline";
        for (std::size_t s = 0; s < kScales.size(); ++s) {
            std::snprintf(line, sizeof line, "  %dx %.4f (%s)", kScales[s], leastExactOverlap[k][s],
                          leastExactGlyph[k][s].c_str());
            text += line;
        }
        text += "\n";
    }
    return text;
}

void checkOutline(const Shape& outline, double spread, const std::string& name, OutlineFont* font,
                  char32_t code, FieldFigures& figures) {
    ++figures.glyphs;
    figures.withCoverage = figures.withCoverage || font != nullptr;
    Shape shape = outlineBoundary(outline);
    colourEdges(shape);
    const FieldFrame frame =
        FieldFrame::around(outline.controlBox(), static_cast<int>(std::ceil(spread)) + 1);
    const OutlineOracle oracle(outline);
    const std::size_t pixels = static_cast<std::size_t>(frame.width) * frame.height;
    std::vector<double> truth(pixels);  // signed distance, positive inside
    for (int row = 0; row < frame.height; ++row) {
        for (int column = 0; column < frame.width; ++column) {
            const Vector2 p = frame.pixelCentre(column, row);
            const double d = oracle.distance(p);
            truth[static_cast<std::size_t>(row) * frame.width + column] = oracle.inside(p) ? d : -d;
        }
    }
    std::vector<std::vector<std::uint8_t>> coverage;
    std::vector<std::vector<std::uint8_t>> exactInside;
    for (const int scale : kScales) {
        if (font != nullptr) {
            coverage.push_back(font->coverage(code, frame, scale));
        }
        std::vector<std::uint8_t>& inside = exactInside.emplace_back(
            static_cast<std::size_t>(frame.width) * scale * frame.height * scale);
        for (int y = 0; y < frame.height * scale; ++y) {
            const Vector2 start = magnifiedCentre(frame, scale, 0, y);
            oracle.insideAlong(start.y, start.x, frame.pixelSize / scale, frame.width * scale,
                               inside.data() + static_cast<std::size_t>(y) * frame.width * scale);
        }
    }
    FieldGenerator generator;
    FieldPixels field;
    for (std::size_t k = 0; k < kAllKinds.size(); ++k) {
        const FieldKind kind = kAllKinds[k];
        const int channels = channelCount(kind);
        field.resize(frame.width, frame.height, channels);
        generator.generate(shape, kind, frame, spread, field.view());
        for (std::size_t i = 0; i < pixels; ++i) {
            const float* v = field.values.data() + i * channels;
            const double exact = truth[i];
            const bool multi = channels >= 3;
            const double side = multi ? median3(v[0], v[1], v[2]) : v[0];
            if (std::abs(exact) > (multi ? 1.0 : 1e-3) && (side > 0) != (exact > 0)) {
                if (figures.wrongSides++ == 0) {
                    figures.firstWrongSide = name + " " + kindName(kind);
                }
            }
            const int trueChannel = kind == FieldKind::sdf ? 0 : kind == FieldKind::mtsdf ? 3 : -1;
            if (trueChannel >= 0 && std::abs(exact) < spread - 1.0 / 16) {
                const double error = std::abs(v[trueChannel] - exact);
                if (error > figures.worstDistanceError) {
                    figures.worstDistanceError = error;
                    figures.worstDistanceGlyph = name + " " + kindName(kind);
                }
            }
        }
        std::vector<std::uint8_t> bytes(pixels * channels);
        encodeField(field.view(), spread, bytes.data(), frame.width * channels);
        for (std::size_t s = 0; s < kScales.size(); ++s) {
            const int scale = kScales[s];
            const std::vector<std::uint8_t> inside =
                magnifiedInside(bytes, frame.width, frame.height, channels, scale);
            // Within half a step of the 8-bit values of the outline, a magnified pixel may fall
            // either way.
            const double undecided = std::max(1.0 / 64, spread / 256);
            Overlap withCoverage;
            Overlap withOutline;
            const int width = frame.width * scale;
            for (std::size_t i = 0; i < inside.size(); ++i) {
                const bool drawn = inside[i] != 0;
                const bool exact = exactInside[s][i] != 0;
                if (drawn == exact ||
                    oracle.distance(magnifiedCentre(frame, scale, static_cast<int>(i % width),
                                                    static_cast<int>(i / width))) > undecided) {
                    withOutline.add(drawn, exact);
                }
                if (font == nullptr) {
                    continue;
                }
                // Where FreeType covers about half the pixel, the outline runs close to its
                // centre; either side is right there.
                const std::uint8_t covered = coverage[s][i];
                const double band = std::max(8.0, undecided * scale * 256 + 1);
                if (std::abs(covered - 127.5) > band) {
                    withCoverage.add(drawn, covered >= 128);
                }
            }
            withOutline.keepLeast(figures.leastExactOverlap[k][s], figures.leastExactGlyph[k][s],
                                  name);
            if (font != nullptr) {
                withCoverage.keepLeast(figures.leastOverlap[k][s], figures.leastOverlapGlyph[k][s],
                                       name);
            }
        }
    }
}

}  // namespace vemro::field::test
