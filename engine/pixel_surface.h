#pragma once

#include <cstdint>
#include <vector>

namespace vemro {

// A 32-bit, top-down pixel buffer. Words in memory read 0xXXRRGGBB (blue in the low byte), the
// layout image libraries call ARGB32, so a window can show the buffer as it is. The program's own
// colour values carry red in the low byte (0x00BBGGRR); setPixel and getPixel exchange red and
// blue, and pass green and the top byte through unchanged.
class PixelSurface {
public:
    static constexpr std::int32_t kAtlasSide = 512;

    // Replaces any earlier buffer with a black one of the given size. A size that is not
    // positive, or too large to address, leaves an empty surface and returns false.
    bool create(std::int32_t width, std::int32_t height);

    // Drops the buffer; width and height become 0 and every access is out of range.
    bool release();

    // Stores colour (0x00BBGGRR) at (x, y); coordinates outside the surface are ignored.
    void setPixel(std::int32_t x, std::int32_t y, std::uint32_t colour);

    // The colour (0x00BBGGRR) at (x, y), or 0 outside the surface.
    std::uint32_t getPixel(std::int32_t x, std::int32_t y) const;

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }

    // Raw rows in memory order (0xXXRRGGBB words), for code that copies whole images. Only valid
    // for 0 <= y < height().
    std::uint32_t* row(std::int32_t y) {
        return pixels_.data() + static_cast<std::size_t>(y) * width_;
    }
    const std::uint32_t* row(std::int32_t y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * width_;
    }
    const std::uint32_t* data() const { return pixels_.data(); }

    // Exchanges the low byte and the third byte of a word.
    static constexpr std::uint32_t swapRedBlue(std::uint32_t value) {
        return (value & 0xFF00FF00u) | ((value & 0xFFu) << 16) | ((value >> 16) & 0xFFu);
    }

    friend bool operator==(const PixelSurface&, const PixelSurface&) = default;

private:
    bool contains(std::int32_t x, std::int32_t y) const {
        return x >= 0 && x < width_ && y >= 0 && y < height_;
    }

    std::vector<std::uint32_t> pixels_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

}  // namespace vemro
