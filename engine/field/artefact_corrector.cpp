#include "engine/field/artefact_corrector.h"

#include <algorithm>
#include <cmath>

namespace vemro::field {

namespace {

constexpr std::uint8_t kKeep = 0;
constexpr std::uint8_t kToMedian = 1;
constexpr std::uint8_t kToTrue = 2;
// How a pixel's channels lie.
constexpr std::uint8_t kMixed = 0;
constexpr std::uint8_t kEqual = 1;
constexpr std::uint8_t kAllInside = 2;
constexpr std::uint8_t kAllOutside = 3;
// How far, in pixels, the interpolated median may stray to the wrong side before it counts as a
// clash. Smaller strays make specks too thin to see even magnified; mending them would round a
// corner nearby.
constexpr float kStray = 1.0F / 16;

float median(float a, float b, float c) {
    return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

float median(const float* v) {
    return median(v[0], v[1], v[2]);
}

// Whether the median of the channels interpolated from a to b leaves the side (inside when
// positive) both ends are on. The median is linear between the parameters where two channels
// cross, so it is enough to look there.
bool medianLeavesSide(const float* a, const float* b, bool inside) {
    // The median strays only where two channels do, so two must stray at an end.
    int straying = 0;
    for (int c = 0; c < 3; ++c) {
        straying += (inside ? std::min(a[c], b[c]) < -kStray : std::max(a[c], b[c]) > kStray);
    }
    if (straying < 2) {
        return false;
    }
    for (int k = 0; k < 3; ++k) {
        const int l = (k + 1) % 3;
        const double gapA = a[k] - a[l];
        const double gapB = b[k] - b[l];
        if ((gapA > 0) == (gapB > 0) || gapA == gapB) {
            continue;
        }
        const double t = gapA / (gapA - gapB);
        float v[3];
        for (int c = 0; c < 3; ++c) {
            v[c] = static_cast<float>(a[c] + (b[c] - a[c]) * t);
        }
        const float m = median(v);
        if (inside ? m < -kStray : m > kStray) {
            return true;
        }
    }
    return false;
}

}  // namespace

void ArtefactCorrector::mark(std::size_t index, std::uint8_t how) {
    marks_[index] = std::max(marks_[index], how);
}

void ArtefactCorrector::checkPair(const FieldView& field, const float* trueDistance, int c0, int r0,
                                  int c1, int r1) {
    const std::size_t i = static_cast<std::size_t>(r0) * field.width + c0;
    const std::size_t j = static_cast<std::size_t>(r1) * field.width + c1;
    if (marks_[i] == kToTrue || marks_[j] == kToTrue) {
        return;
    }
    const float di = trueDistance[i];
    const float dj = trueDistance[j];
    // The outline can pass between pixels one apart only if their distances add up to 1 or
    // less.
    if ((di > 0) != (dj > 0) || std::abs(di) + std::abs(dj) <= 1) {
        return;
    }
    if (medianLeavesSide(field.pixel(c0, r0), field.pixel(c1, r1), di > 0)) {
        mark(std::abs(di) >= std::abs(dj) ? i : j, kToMedian);
    }
}

void ArtefactCorrector::checkSquare(const FieldView& field, const float* trueDistance, int column,
                                    int row) {
    std::size_t corners[4];
    for (int k = 0; k < 4; ++k) {
        corners[k] = static_cast<std::size_t>(row + (k >> 1)) * field.width + column + (k & 1);
    }
    float centre[3] = {0, 0, 0};
    std::size_t farthest = 0;
    const bool inside = trueDistance[corners[0]] > 0;
    for (int k = 0; k < 4; ++k) {
        const float d = trueDistance[corners[k]];
        // The outline can enter the square only within sqrt(1/2) of a corner pixel.
        if (marks_[corners[k]] != kKeep || (d > 0) != inside || std::abs(d) <= std::sqrt(0.5F)) {
            return;
        }
        if (std::abs(d) > std::abs(trueDistance[corners[farthest]])) {
            farthest = static_cast<std::size_t>(k);
        }
        const float* v = field.pixel(column + (k & 1), row + (k >> 1));
        for (int channel = 0; channel < 3; ++channel) {
            centre[channel] += v[channel] / 4;
        }
    }
    const float m = median(centre);
    if (inside ? m < -kStray : m > kStray) {
        mark(corners[farthest], kToMedian);
    }
}

void ArtefactCorrector::correct(const FieldView& field, const float* trueDistance) {
    const int width = field.width;
    const int height = field.height;
    const std::size_t pixels = static_cast<std::size_t>(width) * height;
    marks_.assign(pixels, kKeep);
    uniform_.resize(pixels);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const std::size_t i = static_cast<std::size_t>(row) * width + column;
            const float* v = field.pixel(column, row);
            uniform_[i] = v[0] == v[1] && v[1] == v[2]       ? kEqual
                          : v[0] > 0 && v[1] > 0 && v[2] > 0 ? kAllInside
                          : v[0] < 0 && v[1] < 0 && v[2] < 0 ? kAllOutside
                                                             : kMixed;
            if (median(v) * trueDistance[i] < 0) {
                marks_[i] = kToTrue;
            }
        }
    }
    // Only pixels whose channels lie on both sides of the outline can clash: towards a pixel
    // whose channels are equal the median runs straight, and between pixels whose channels are
    // all on one side it stays there. A square's centre is the mean of its corners, whose
    // median is their medians' mean when three of them have equal channels.
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* here = uniform_.data() + static_cast<std::size_t>(row) * width;
        const std::uint8_t* below = row + 1 < height ? here + width : nullptr;
        for (int column = 0; column < width; ++column) {
            const std::uint8_t self = here[column];
            if (self == kEqual) {
                continue;
            }
            const bool right = column + 1 < width;
            if (right && here[column + 1] != kEqual &&
                (self == kMixed || here[column + 1] == kMixed)) {
                checkPair(field, trueDistance, column, row, column + 1, row);
            }
            if (below != nullptr && below[column] != kEqual &&
                (self == kMixed || below[column] == kMixed)) {
                checkPair(field, trueDistance, column, row, column, row + 1);
            }
            if (right && below != nullptr) {
                const std::uint8_t square[4] = {self, here[column + 1], below[column],
                                                below[column + 1]};
                int equal = 0;
                int mixed = 0;
                for (const std::uint8_t corner : square) {
                    equal += corner == kEqual ? 1 : 0;
                    mixed += corner == kMixed ? 1 : 0;
                }
                if (equal < 3 && mixed > 0) {
                    checkSquare(field, trueDistance, column, row);
                }
            }
        }
    }
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const std::size_t i = static_cast<std::size_t>(row) * width + column;
            if (marks_[i] == kKeep) {
                continue;
            }
            float* v = field.pixel(column, row);
            const float value = marks_[i] == kToTrue ? trueDistance[i] : median(v);
            std::fill(v, v + 3, value);
        }
    }
}

}  // namespace vemro::field
