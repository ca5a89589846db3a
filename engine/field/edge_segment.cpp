#include "engine/field/edge_segment.h"

namespace vemro::field {

EdgeSegment EdgeSegment::line(Vector2 p0, Vector2 p1, EdgeColour colour) {
    return EdgeSegment(EdgeKind::line, {p0, p1, p1, p1}, colour);
}

EdgeSegment EdgeSegment::quadratic(Vector2 p0, Vector2 p1, Vector2 p2, EdgeColour colour) {
    return EdgeSegment(EdgeKind::quadratic, {p0, p1, p2, p2}, colour);
}

EdgeSegment EdgeSegment::cubic(Vector2 p0, Vector2 p1, Vector2 p2, Vector2 p3, EdgeColour colour) {
    return EdgeSegment(EdgeKind::cubic, {p0, p1, p2, p3}, colour);
}

Vector2 EdgeSegment::pointAt(double t) const {
    switch (kind_) {
        case EdgeKind::line:
            return mix(p_[0], p_[1], t);
        case EdgeKind::quadratic:
            return mix(mix(p_[0], p_[1], t), mix(p_[1], p_[2], t), t);
        case EdgeKind::cubic: {
            const Vector2 a = mix(p_[0], p_[1], t);
            const Vector2 b = mix(p_[1], p_[2], t);
            const Vector2 c = mix(p_[2], p_[3], t);
            return mix(mix(a, b, t), mix(b, c, t), t);
        }
    }
    return p_[0];
}

Vector2 EdgeSegment::directionAt(double t) const {
    switch (kind_) {
        case EdgeKind::line:
            return p_[1] - p_[0];
        case EdgeKind::quadratic: {
            const Vector2 d = mix(p_[1] - p_[0], p_[2] - p_[1], t);
            if (squaredLength(d) == 0) {
                return p_[2] - p_[0];
            }
            return d;
        }
        case EdgeKind::cubic: {
            const Vector2 d =
                mix(mix(p_[1] - p_[0], p_[2] - p_[1], t), mix(p_[2] - p_[1], p_[3] - p_[2], t), t);
            if (squaredLength(d) == 0) {
                // A control point on an end point: the curve leaves that end towards the next
                // distinct control point.
                if (t <= 0.5) {
                    const Vector2 next = p_[2] - p_[0];
                    return squaredLength(next) > 0 ? next : p_[3] - p_[0];
                }
                const Vector2 previous = p_[3] - p_[1];
                return squaredLength(previous) > 0 ? previous : p_[3] - p_[0];
            }
            return d;
        }
    }
    return {};
}

Box EdgeSegment::controlBox() const {
    Box box;
    for (int i = 0; i < pointCount(); ++i) {
        box.add(p_[static_cast<std::size_t>(i)]);
    }
    return box;
}

bool EdgeSegment::degenerate() const {
    for (int i = 1; i < pointCount(); ++i) {
        if (p_[static_cast<std::size_t>(i)] != p_[0]) {
            return false;
        }
    }
    return true;
}

std::pair<EdgeSegment, EdgeSegment> EdgeSegment::splitAt(double t) const {
    switch (kind_) {
        case EdgeKind::line: {
            const Vector2 m = pointAt(t);
            return {line(p_[0], m, colour_), line(m, p_[1], colour_)};
        }
        case EdgeKind::quadratic: {
            const Vector2 a = mix(p_[0], p_[1], t);
            const Vector2 b = mix(p_[1], p_[2], t);
            const Vector2 m = mix(a, b, t);
            return {quadratic(p_[0], a, m, colour_), quadratic(m, b, p_[2], colour_)};
        }
        case EdgeKind::cubic: {
            const Vector2 a = mix(p_[0], p_[1], t);
            const Vector2 b = mix(p_[1], p_[2], t);
            const Vector2 c = mix(p_[2], p_[3], t);
            const Vector2 ab = mix(a, b, t);
            const Vector2 bc = mix(b, c, t);
            const Vector2 m = mix(ab, bc, t);
            return {cubic(p_[0], a, ab, m, colour_), cubic(m, bc, c, p_[3], colour_)};
        }
    }
    return {*this, *this};
}

EdgeSegment EdgeSegment::part(double t0, double t1) const {
    if (t0 <= 0) {
        return t1 >= 1 ? *this : splitAt(t1).first;
    }
    const EdgeSegment tail = splitAt(t0).second;
    if (t1 >= 1) {
        return tail;
    }
    return tail.splitAt((t1 - t0) / (1 - t0)).first;
}

EdgeSegment EdgeSegment::withEnds(Vector2 start, Vector2 end) const {
    EdgeSegment moved = *this;
    moved.p_[0] = start;
    for (int i = pointCount() - 1; i < 4; ++i) {
        moved.p_[static_cast<std::size_t>(i)] = end;
    }
    return moved;
}

EdgeSegment EdgeSegment::reversed() const {
    switch (kind_) {
        case EdgeKind::line:
            return line(p_[1], p_[0], colour_);
        case EdgeKind::quadratic:
            return quadratic(p_[2], p_[1], p_[0], colour_);
        case EdgeKind::cubic:
            return cubic(p_[3], p_[2], p_[1], p_[0], colour_);
    }
    return *this;
}

}  // namespace vemro::field
