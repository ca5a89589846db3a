#pragma once

#include <cstddef>
#include <vector>

namespace vemro::field {

// A rectangle of field values: `channels` floats per pixel, rows top to bottom, each row
// `stride` floats after the one above. The values are distances in pixels, positive inside.
// A view of memory someone else owns; FieldPixels owns its own.
struct FieldView {
    float* data = nullptr;
    int width = 0;
    int height = 0;
    int channels = 1;
    std::ptrdiff_t stride = 0;

    float* pixel(int column, int row) const {
        return data + row * stride + static_cast<std::ptrdiff_t>(column) * channels;
    }
};

// A field that owns its values, packed without gaps.
struct FieldPixels {
    int width = 0;
    int height = 0;
    int channels = 1;
    std::vector<float> values;

    // Makes room for width x height pixels of `channels` floats, reusing the memory it has.
    void resize(int w, int h, int c) {
        width = w;
        height = h;
        channels = c;
        values.assign(static_cast<std::size_t>(w) * h * c, 0.0F);
    }
    FieldView view() {
        return {values.data(), width, height, channels,
                static_cast<std::ptrdiff_t>(width) * channels};
    }
    const float* pixel(int column, int row) const {
        return values.data() + (static_cast<std::size_t>(row) * width + column) * channels;
    }
};

}  // namespace vemro::field
