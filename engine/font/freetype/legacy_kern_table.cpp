#include "engine/font/freetype/legacy_kern_table.h"

namespace vemro {

namespace {

constexpr std::size_t kPairBytes = 6;  // left glyph, right glyph, value

std::uint32_t be16(const std::uint8_t* at) {
    return (std::uint32_t{at[0]} << 8) | at[1];
}

std::uint32_t be32(const std::uint8_t* at) {
    return (be16(at) << 16) | be16(at + 2);
}

// The glyphs of the format 0 pairs that start at `pairs`, as far as the table holds them; the
// offset just past the last pair the subtable declares.
std::size_t readPairs(const std::uint8_t* table, std::size_t size, std::size_t pairs,
                      std::uint32_t count, KernTableGlyphs& out) {
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = pairs + kPairBytes * i;
        if (at + kPairBytes > size) {
            break;
        }
        out.glyphs.push_back(static_cast<std::uint16_t>(be16(table + at)));
        out.glyphs.push_back(static_cast<std::uint16_t>(be16(table + at + 2)));
    }
    return pairs + kPairBytes * std::size_t{count};
}

// The glyphs of a format 2 class table at `at`: first glyph, glyph count, a class for each. A
// glyph outside the table has no class and is not kerned.
void readClassTable(const std::uint8_t* table, std::size_t size, std::size_t at,
                    KernTableGlyphs& out) {
    if (at + 4 > size) {
        return;
    }
    const std::uint32_t first = be16(table + at);
    const std::uint32_t count = be16(table + at + 2);
    for (std::uint32_t glyph = first; glyph < first + count && glyph <= 0xFFFF; ++glyph) {
        out.glyphs.push_back(static_cast<std::uint16_t>(glyph));
    }
}

}  // namespace

KernTableGlyphs kernTableGlyphs(const std::uint8_t* table, std::size_t size) {
    KernTableGlyphs out;
    if (table == nullptr || size < 8) {
        return out;
    }
    // Apple's table starts with the 32-bit version 1.0; the OpenType one with the 16-bit 0.
    const bool apple = be32(table) == 0x00010000;
    if (!apple && be16(table) != 0) {
        return out;
    }
    const std::uint32_t tables = apple ? be32(table + 4) : be16(table + 2);
    const std::size_t headerBytes = apple ? 8 : 4;
    // Subtable header: OpenType version, length (16 bits), coverage with the format in its high
    // byte; Apple length (32 bits), coverage with the format in its low byte, tuple index.
    const std::size_t subtableHeaderBytes = apple ? 8 : 6;
    std::size_t at = headerBytes;
    for (std::uint32_t i = 0; i < tables && at + subtableHeaderBytes <= size; ++i) {
        const std::uint32_t length = apple ? be32(table + at) : be16(table + at + 2);
        const std::uint32_t coverage = be16(table + at + 4);
        const std::uint32_t format = apple ? coverage & 0xFF : coverage >> 8;
        const std::size_t body = at + subtableHeaderBytes;
        if (format == 2 && body + 8 <= size) {
            // Row width, then the offsets of the left and right class tables from the
            // subtable's start, then that of the values.
            readClassTable(table, size, at + be16(table + body + 2), out);
            readClassTable(table, size, at + be16(table + body + 4), out);
        }
        if (format != 0) {
            out.anyGlyph = out.anyGlyph || format != 2;
            if (length < subtableHeaderBytes) {
                break;
            }
            at += length;
            continue;
        }
        // Format 0: pair count and three search fields, then the pairs. A large OpenType
        // subtable's 16-bit length overflows, so the pair count gives the end.
        if (body + 8 > size) {
            break;
        }
        at = readPairs(table, size, body + 8, be16(table + body), out);
    }
    return out;
}

}  // namespace vemro
