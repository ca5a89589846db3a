#pragma once

// PNG files read back for the tests with libpng's simplified reading interface.

#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vemro::test {

struct ReadImage {
    bool ok = false;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t channels = 0;        // 1 grey, 3 RGB, 4 RGBA: as the file stores them
    std::vector<std::uint8_t> pixels;  // in the file's own layout, top row first
};

inline ReadImage readPng(const std::string& path) {
    ReadImage read;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        return read;
    }
    const bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    const bool grey = (image.format & PNG_FORMAT_FLAG_COLOR) == 0 && !alpha;
    image.format = grey ? PNG_FORMAT_GRAY : alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    read.width = image.width;
    read.height = image.height;
    read.channels = grey ? 1 : alpha ? 4 : 3;
    read.pixels.resize(PNG_IMAGE_SIZE(image));
    read.ok = png_image_finish_read(&image, nullptr, read.pixels.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return read;
}

}  // namespace vemro::test
