#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/field/vector2.h"

namespace vemro::field {

// An axis-aligned rectangle; empty (left > right) until a point is added.
struct Box {
    double left = std::numeric_limits<double>::infinity();
    double bottom = std::numeric_limits<double>::infinity();
    double right = -std::numeric_limits<double>::infinity();
    double top = -std::numeric_limits<double>::infinity();

    bool empty() const { return left > right || bottom > top; }
    void add(Vector2 p) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        bottom = std::min(bottom, p.y);
        top = std::max(top, p.y);
    }
    void add(const Box& other) {
        left = std::min(left, other.left);
        right = std::max(right, other.right);
        bottom = std::min(bottom, other.bottom);
        top = std::max(top, other.top);
    }
    // The squared distance from p to the nearest point of the box; 0 inside.
    double squaredDistance(Vector2 p) const {
        const double dx = std::max(std::max(left - p.x, p.x - right), 0.0);
        const double dy = std::max(std::max(bottom - p.y, p.y - top), 0.0);
        return dx * dx + dy * dy;
    }
    // The squared distance between the nearest points of two boxes; 0 when they overlap.
    double squaredDistance(const Box& other) const {
        const double dx = std::max(std::max(left - other.right, other.left - right), 0.0);
        const double dy = std::max(std::max(bottom - other.top, other.bottom - top), 0.0);
        return dx * dx + dy * dy;
    }
    // The squared distance from p to the farthest point of the box.
    double squaredFarthest(Vector2 p) const {
        const double dx = std::max(std::abs(p.x - left), std::abs(p.x - right));
        const double dy = std::max(std::abs(p.y - bottom), std::abs(p.y - top));
        return dx * dx + dy * dy;
    }
    bool overlaps(const Box& other) const {
        return left <= other.right && other.left <= right && bottom <= other.top &&
               other.bottom <= top;
    }
};

}  // namespace vemro::field
