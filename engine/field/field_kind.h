#pragma once

namespace vemro::field {

// What a distance field holds, all of it in pixels, positive inside the outline:
// - sdf: the true (Euclidean) distance to the outline, one channel;
// - psdf: the pseudo-distance, one channel: the distance to the nearest edge, measured
//   perpendicularly to that edge's tangent line where the nearest point is one of its ends;
// - msdf: three channels, each the pseudo-distance to the nearest edge of that channel's
//   colour; the outline is where the median of the three is 0;
// - mtsdf: msdf and the true distance in a fourth channel.
enum class FieldKind { sdf, psdf, msdf, mtsdf };

constexpr int channelCount(FieldKind kind) {
    switch (kind) {
        case FieldKind::sdf:
        case FieldKind::psdf:
            return 1;
        case FieldKind::msdf:
            return 3;
        case FieldKind::mtsdf:
            return 4;
    }
    return 1;
}

constexpr bool isMultiChannel(FieldKind kind) {
    return kind == FieldKind::msdf || kind == FieldKind::mtsdf;
}

}  // namespace vemro::field
