#include "files/export/bmfont_binary.h"

#include <limits>
#include <optional>
#include <string>

#include "files/export/descriptor_strings.h"

namespace vemro {

namespace {

constexpr std::uint8_t kInfoBlock = 1;
constexpr std::uint8_t kCommonBlock = 2;
constexpr std::uint8_t kPagesBlock = 3;
constexpr std::uint8_t kCharsBlock = 4;
constexpr std::uint8_t kKerningBlock = 5;

// Little-endian fields that know their range; the first value out of range is kept as the
// problem and written as 0.
class BlockWriter {
public:
    void u8(std::int64_t value, const char* what) { put(value, 1, 0, 0xFF, what); }
    void u16(std::int64_t value, const char* what) { put(value, 2, 0, 0xFFFF, what); }
    void i16(std::int64_t value, const char* what) { put(value, 2, -0x8000, 0x7FFF, what); }
    void u32(std::int64_t value, const char* what) { put(value, 4, 0, 0xFFFFFFFF, what); }
    void i32(std::int64_t value, const char* what) {
        put(value, 4, std::numeric_limits<std::int32_t>::min(),
            std::numeric_limits<std::int32_t>::max(), what);
    }
    void text(const std::string& value) {
        bytes_.insert(bytes_.end(), value.begin(), value.end());
        bytes_.push_back(0);
    }

    // Starts a block; its size is filled in by endBlock.
    void beginBlock(std::uint8_t type) {
        bytes_.push_back(type);
        sizeAt_ = bytes_.size();
        i32(0, "block size");
    }
    void endBlock() {
        const std::size_t size = bytes_.size() - sizeAt_ - 4;
        for (std::size_t i = 0; i < 4; ++i) {
            bytes_[sizeAt_ + i] = static_cast<std::uint8_t>(size >> (8 * i));
        }
    }

    std::vector<std::uint8_t>& bytes() { return bytes_; }
    const std::optional<std::string>& problem() const { return problem_; }
    void fail(std::string problem) {
        if (!problem_) {
            problem_ = std::move(problem);
        }
    }

private:
    void put(std::int64_t value, std::size_t width, std::int64_t low, std::int64_t high,
             const char* what) {
        if (value < low || value > high) {
            fail(std::string("the ") + what + " " + std::to_string(value) +
                 " does not fit the binary BMFont format (" + std::to_string(low) + ".." +
                 std::to_string(high) + ")");
            value = 0;
        }
        const auto bits = static_cast<std::uint64_t>(value);
        for (std::size_t i = 0; i < width; ++i) {
            bytes_.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
        }
    }

    std::vector<std::uint8_t> bytes_;
    std::size_t sizeAt_ = 0;
    std::optional<std::string> problem_;
};

}  // namespace

Result<std::vector<std::uint8_t>> encodeBmfontBinary(const FontDescription& d) {
    BlockWriter out;
    out.bytes() = {'B', 'M', 'F', 3};

    out.beginBlock(kInfoBlock);
    out.i16(d.size, "font size");
    out.u8((d.smooth ? 0x80 : 0) | (d.unicode ? 0x40 : 0) | (d.italic ? 0x20 : 0) |
               (d.bold ? 0x10 : 0),
           "info bits");
    out.u8(0, "charset");
    out.u16(d.stretchH, "stretchH");
    out.u8(d.aa, "supersampling level");
    for (const std::int32_t padding : d.padding) {
        out.u8(padding, "padding");
    }
    out.u8(d.spacing[0], "horizontal spacing");
    out.u8(d.spacing[1], "vertical spacing");
    out.u8(d.outline, "outline");
    out.text(descriptorString(d.face));
    out.endBlock();

    out.beginBlock(kCommonBlock);
    out.u16(d.lineHeight, "line height");
    out.u16(d.base, "base");
    out.u16(d.scaleW, "texture width");
    out.u16(d.scaleH, "texture height");
    out.u16(static_cast<std::int64_t>(d.pages.size()), "page count");
    out.u8(d.packed ? 0x01 : 0, "common bits");
    out.u8(d.alphaChnl, "alpha channel");
    out.u8(d.redChnl, "red channel");
    out.u8(d.greenChnl, "green channel");
    out.u8(d.blueChnl, "blue channel");
    out.endBlock();

    out.beginBlock(kPagesBlock);
    for (const std::string& page : d.pages) {
        if (page.size() != d.pages.front().size() || page.find('\0') != std::string::npos) {
            out.fail("the page file names \"" + d.pages.front() + "\" and \"" + page +
                     "\" differ in length, which the binary BMFont format does not allow");
        }
        out.text(page);
    }
    out.endBlock();

    out.beginBlock(kCharsBlock);
    for (const DescribedChar& c : d.chars) {
        out.u32(c.id, "character id");
        out.u16(c.x, "x position");
        out.u16(c.y, "y position");
        out.u16(c.width, "width");
        out.u16(c.height, "height");
        out.i16(c.xoffset, "x offset");
        out.i16(c.yoffset, "y offset");
        out.i16(c.xadvance, "advance");
        out.u8(c.page, "page number");
        out.u8(c.chnl, "channel");
    }
    out.endBlock();

    if (!d.kernings.empty()) {
        out.beginBlock(kKerningBlock);
        for (const DescribedKerning& k : d.kernings) {
            out.u32(k.first, "kerning pair's first character");
            out.u32(k.second, "kerning pair's second character");
            out.i16(k.amount, "kerning amount");
        }
        out.endBlock();
    }

    if (out.problem()) {
        return Result<std::vector<std::uint8_t>>::failure(*out.problem());
    }
    return std::move(out.bytes());
}

}  // namespace vemro
