// The reader and writer the project file is read and written through: fields in order, a
// length-prefixed part, and reads past the end that stay inside the bytes.
#include <gtest/gtest.h>

#include "files/io/byte_reader.h"
#include "files/io/byte_writer.h"

namespace vemro {
namespace {

TEST(ByteCursor, FieldsReadBackInOrderAndALengthPrefixCountsWhatFollowsIt) {
    std::vector<std::uint8_t> bytes;
    ByteWriter out(bytes);
    out.text("TAG!");
    out.lengthPrefixed([&] {
        out.u8(0xFE);
        out.i32(-2);
        out.u32(0x01020304);
    });
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{'T', 'A', 'G', '!', 9, 0, 0, 0, 0xFE, 0xFE, 0xFF,
                                                0xFF, 0xFF, 4, 3, 2, 1}));

    ByteReader in(bytes);
    EXPECT_TRUE(in.startsWith("TAG!"));
    EXPECT_EQ(in.text(4), "TAG!");
    const std::uint32_t length = in.u32();
    ByteReader payload = in.take(length);
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(payload.position(), 8u);
    EXPECT_EQ(payload.u8(), 0xFE);
    EXPECT_EQ(payload.i32(), -2);
    EXPECT_EQ(payload.remaining(), 4u);
    EXPECT_FALSE(payload.has(5));
    EXPECT_EQ(payload.u32(), 0x01020304u);
    // Past the end: zeros, an empty text, and the reader stays at the end of its own bytes.
    EXPECT_EQ(payload.u32(), 0u);
    EXPECT_EQ(payload.u8(), 0u);
    EXPECT_EQ(payload.text(3), "");
    EXPECT_EQ(payload.position(), bytes.size());
    ByteReader shortField(bytes);
    shortField.skip(15);
    EXPECT_EQ(shortField.u32(), 0u);
    EXPECT_TRUE(shortField.atEnd());
}

}  // namespace
}  // namespace vemro
