#include "files/project/export_settings.h"

#include <array>
#include <utility>

namespace vemro {

namespace {

constexpr std::array<std::pair<DescriptorFormat, const char*>, 5> kFormats{{
    {DescriptorFormat::Tfd, "tfd"},
    {DescriptorFormat::BmfontText, "bmfont-text"},
    {DescriptorFormat::BmfontXml, "bmfont-xml"},
    {DescriptorFormat::BmfontBinary, "bmfont-binary"},
    {DescriptorFormat::Json, "json"},
}};

constexpr std::array<std::pair<PageImage, const char*>, 3> kImages{{
    {PageImage::Png, "png"},
    {PageImage::Png8, "png8"},
    {PageImage::Tga, "tga"},
}};

template <typename Enum, std::size_t N>
const char* nameOf(const std::array<std::pair<Enum, const char*>, N>& table, Enum value) {
    for (const auto& [entry, name] : table) {
        if (entry == value) {
            return name;
        }
    }
    return "";
}

template <typename Enum, std::size_t N>
std::optional<Enum> valueNamed(const std::array<std::pair<Enum, const char*>, N>& table,
                               const std::string& name) {
    for (const auto& [entry, entryName] : table) {
        if (name == entryName) {
            return entry;
        }
    }
    return std::nullopt;
}

}  // namespace

const char* descriptorFormatName(DescriptorFormat format) {
    return nameOf(kFormats, format);
}

std::optional<DescriptorFormat> descriptorFormatNamed(const std::string& name) {
    return valueNamed(kFormats, name);
}

const char* pageImageName(PageImage image) {
    return nameOf(kImages, image);
}

std::optional<PageImage> pageImageNamed(const std::string& name) {
    return valueNamed(kImages, name);
}

}  // namespace vemro
