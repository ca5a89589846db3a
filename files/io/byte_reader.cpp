#include "files/io/byte_reader.h"

#include <algorithm>
#include <cstring>

namespace vemro {

bool ByteReader::startsWith(std::string_view expected) const {
    return has(expected.size()) &&
           std::memcmp(data_ + position_, expected.data(), expected.size()) == 0;
}

std::uint8_t ByteReader::u8() {
    if (!has(1)) {
        position_ = end_;
        return 0;
    }
    return data_[position_++];
}

std::uint32_t ByteReader::u32() {
    if (!has(4)) {
        position_ = end_;
        return 0;
    }
    const std::uint8_t* at = data_ + position_;
    position_ += 4;
    return std::uint32_t{at[0]} | (std::uint32_t{at[1]} << 8) | (std::uint32_t{at[2]} << 16) |
           (std::uint32_t{at[3]} << 24);
}

std::string ByteReader::text(std::size_t count) {
    const std::size_t taken = std::min(count, remaining());
    std::string read(reinterpret_cast<const char*>(data_ + position_), taken);
    position_ += taken;
    return read;
}

void ByteReader::skip(std::size_t count) {
    position_ += std::min(count, remaining());
}

ByteReader ByteReader::take(std::size_t count) {
    const std::size_t start = position_;
    skip(count);
    return ByteReader(data_, start, position_);
}

}  // namespace vemro
