#pragma once

#include <cmath>

namespace vemro::field {

// A point or a direction in the plane, in double precision.
struct Vector2 {
    double x = 0;
    double y = 0;

    constexpr Vector2 operator+(Vector2 other) const { return {x + other.x, y + other.y}; }
    constexpr Vector2 operator-(Vector2 other) const { return {x - other.x, y - other.y}; }
    constexpr Vector2 operator-() const { return {-x, -y}; }
    constexpr Vector2 operator*(double factor) const { return {x * factor, y * factor}; }
    constexpr Vector2 operator/(double divisor) const { return {x / divisor, y / divisor}; }
    constexpr Vector2& operator+=(Vector2 other) {
        x += other.x;
        y += other.y;
        return *this;
    }
    friend constexpr bool operator==(Vector2, Vector2) = default;
};

constexpr Vector2 operator*(double factor, Vector2 v) {
    return v * factor;
}
constexpr double dot(Vector2 a, Vector2 b) {
    return a.x * b.x + a.y * b.y;
}
// The z of the 3D cross product: positive when b turns left (counter-clockwise) from a.
constexpr double cross(Vector2 a, Vector2 b) {
    return a.x * b.y - a.y * b.x;
}
constexpr double squaredLength(Vector2 v) {
    return dot(v, v);
}
inline double length(Vector2 v) {
    return std::sqrt(dot(v, v));
}
// The direction of v with length 1, or nothing (0, 0) when v has no length.
inline Vector2 normalised(Vector2 v) {
    const double l = length(v);
    return l > 0 ? v / l : Vector2{};
}
constexpr Vector2 mix(Vector2 a, Vector2 b, double t) {
    return a + (b - a) * t;
}

}  // namespace vemro::field
