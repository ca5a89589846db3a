#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vemro {

// Reads little-endian fields from bytes one after the other, keeping its place. Whoever reads a
// layout asks first whether its bytes are there (has, remaining) and says what is missing where
// (position); a read past the end gives zeros and leaves the reader at the end.
class ByteReader {
public:
    explicit ByteReader(const std::vector<std::uint8_t>& bytes)
        : data_(bytes.data()), position_(0), end_(bytes.size()) {}

    // Where the next field starts, counted from the first of all the bytes.
    std::size_t position() const { return position_; }
    std::size_t remaining() const { return end_ - position_; }
    bool has(std::size_t count) const { return remaining() >= count; }
    bool atEnd() const { return position_ == end_; }
    // Whether the next bytes are `expected`.
    bool startsWith(std::string_view expected) const;

    std::uint8_t u8();
    std::uint32_t u32();
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    // The next `count` bytes as they are.
    std::string text(std::size_t count);
    void skip(std::size_t count);
    // A reader of the next `count` bytes alone (at most what remains), which this one passes over.
    ByteReader take(std::size_t count);

private:
    ByteReader(const std::uint8_t* data, std::size_t position, std::size_t end)
        : data_(data), position_(position), end_(end) {}

    const std::uint8_t* data_;  // the first of all the bytes
    std::size_t position_;
    std::size_t end_;
};

}  // namespace vemro
