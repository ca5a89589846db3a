#include "files/io/byte_writer.h"

namespace vemro {

void ByteWriter::u32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out_.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void ByteWriter::text(std::string_view bytes) {
    out_.insert(out_.end(), bytes.begin(), bytes.end());
}

void ByteWriter::setU32(std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        out_[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace vemro
