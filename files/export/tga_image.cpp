#include "files/export/tga_image.h"

#include <algorithm>

#include "files/io/atomic_file.h"

namespace vemro {

namespace {

constexpr std::size_t kTgaHeaderBytes = 18;

}  // namespace

std::vector<std::uint8_t> encodeTgaImage(const AtlasPage& page, AtlasSize size) {
    const std::int32_t width = std::max(size.width, 0);
    const std::int32_t height = std::max(size.height, 0);
    // A page of three channels (a multi-channel field) is stored as 24-bit colour; every other
    // page as 32-bit.
    const std::size_t channels = page.channels == 4 || page.channels == 3 ? page.channels : 1;
    const std::size_t bytes = channels == 3 ? 3 : 4;
    std::vector<std::uint8_t> out(kTgaHeaderBytes + bytes * static_cast<std::size_t>(width) *
                                                        static_cast<std::size_t>(height));
    out[2] = 2;  // uncompressed true-colour
    out[12] = static_cast<std::uint8_t>(size.width);
    out[13] = static_cast<std::uint8_t>(size.width >> 8);
    out[14] = static_cast<std::uint8_t>(size.height);
    out[15] = static_cast<std::uint8_t>(size.height >> 8);
    out[16] = static_cast<std::uint8_t>(bytes * 8);  // bits per pixel
    out[17] = bytes == 4 ? 8 : 0;  // alpha bits; rows bottom first, pixels left to right

    // Rows the page holds only in part (or a page whose pixels fall short of its size) read as
    // no coverage where they end.
    const bool pixelsComplete =
        page.width >= 0 && page.height >= 0 &&
        page.pixels.size() >=
            static_cast<std::size_t>(page.width) * static_cast<std::size_t>(page.height) * channels;
    const std::int32_t readableWidth = pixelsComplete ? std::min(width, page.width) : 0;
    const std::int32_t readableHeight = pixelsComplete ? page.height : 0;
    std::uint8_t* pixel = out.data() + kTgaHeaderBytes;
    for (std::int32_t y = height - 1; y >= 0; --y) {
        std::int32_t x = 0;
        if (y < readableHeight) {
            const std::uint8_t* row =
                page.pixels.data() +
                static_cast<std::size_t>(y) * static_cast<std::size_t>(page.width) * channels;
            if (channels > 1) {
                // Blue, green, red (and alpha), as Targa stores them.
                for (; x < readableWidth; ++x, pixel += bytes, row += channels) {
                    pixel[0] = row[2];
                    pixel[1] = row[1];
                    pixel[2] = row[0];
                    if (bytes == 4) {
                        pixel[3] = row[3];
                    }
                }
            }
            for (; x < readableWidth; ++x, pixel += 4) {
                pixel[0] = 0xFF;
                pixel[1] = 0xFF;
                pixel[2] = 0xFF;
                pixel[3] = row[x];
            }
        }
        // Past the page: transparent white, or black for 24-bit colour.
        for (; x < width; ++x, pixel += bytes) {
            if (bytes == 4) {
                pixel[0] = 0xFF;
                pixel[1] = 0xFF;
                pixel[2] = 0xFF;
            }
        }
    }
    return out;
}

Status writeTgaImage(const std::string& path, const AtlasPage& page, AtlasSize size) {
    const std::vector<std::uint8_t> bytes = encodeTgaImage(page, size);
    return writeFileAtomically(path, bytes.data(), bytes.size());
}

}  // namespace vemro
