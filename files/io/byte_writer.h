#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vemro {

// Appends little-endian fields to bytes one after the other.
class ByteWriter {
public:
    explicit ByteWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void u8(std::uint8_t value) { out_.push_back(value); }
    void u32(std::uint32_t value);
    void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
    // The bytes as they are.
    void text(std::string_view bytes);

    // A uint32 holding how many bytes `write` appends after it, then those bytes.
    template <typename Write>
    void lengthPrefixed(Write&& write) {
        const std::size_t at = out_.size();
        u32(0);
        write();
        setU32(at, static_cast<std::uint32_t>(out_.size() - at - 4));
    }

private:
    void setU32(std::size_t at, std::uint32_t value);

    std::vector<std::uint8_t>& out_;
};

}  // namespace vemro
