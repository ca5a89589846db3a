#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vemro {

// The descriptor an export writes. Stored in project files by number: keep the numbers. Each
// has its row in the format table (files/export/exporter.h), which names and writes it.
enum class DescriptorFormat : std::uint8_t {
    Tfd = 0,           // Targa image and .tfd glyph description
    BmfontText = 1,    // BMFont descriptor as text
    BmfontXml = 2,     // BMFont descriptor as XML
    BmfontBinary = 3,  // BMFont descriptor, binary version 3
    Json = 4,          // BMFont fields as JSON
};
// The highest number a project file may store.
inline constexpr DescriptorFormat kLastDescriptorFormat = DescriptorFormat::Json;

// How the pages of a BMFont or JSON export are stored. Stored in project files by number.
enum class PageImage : std::uint8_t {
    Png = 0,   // 32-bit PNG: white, coverage in alpha
    Png8 = 1,  // 8-bit PNG of one channel: the coverage
    Tga = 2,   // 32-bit Targa image: white, coverage in alpha
};
inline constexpr PageImage kLastPageImage = PageImage::Tga;

// What File > Export Font and --export write, kept with the project. Whether the descriptor
// lists kerning pairs is the project's kerning option, as the atlas carries the pairs.
struct ExportSettings {
    DescriptorFormat format = DescriptorFormat::Tfd;
    // Used by the BMFont and JSON formats; the .tfd format always writes its Targa image.
    PageImage image = PageImage::Png;

    friend bool operator==(const ExportSettings&, const ExportSettings&) = default;
};

// Whether the format's descriptor gives every glyph a y offset of its own, so that a cell may
// hold only the rows of its glyph's ink; the .tfd format has none.
bool describesYOffsets(DescriptorFormat format);

// The page image's name on the command line ("png", "png8", "tga").
const char* pageImageName(PageImage image);
std::optional<PageImage> pageImageNamed(const std::string& name);

}  // namespace vemro
