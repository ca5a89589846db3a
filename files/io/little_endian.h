#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vemro {

// Little-endian 32-bit fields of the project file. Reading needs offset + 4 <= bytes.size().

inline void putUint32(std::vector<std::uint8_t>& out, std::uint32_t bits) {
    out.push_back(static_cast<std::uint8_t>(bits));
    out.push_back(static_cast<std::uint8_t>(bits >> 8));
    out.push_back(static_cast<std::uint8_t>(bits >> 16));
    out.push_back(static_cast<std::uint8_t>(bits >> 24));
}

inline void putInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
    putUint32(out, static_cast<std::uint32_t>(value));
}

inline std::uint32_t getUint32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return std::uint32_t{bytes[offset]} | (std::uint32_t{bytes[offset + 1]} << 8) |
           (std::uint32_t{bytes[offset + 2]} << 16) | (std::uint32_t{bytes[offset + 3]} << 24);
}

inline std::int32_t getInt32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return static_cast<std::int32_t>(getUint32(bytes, offset));
}

}  // namespace vemro
