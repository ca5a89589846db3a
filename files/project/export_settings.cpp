#include "files/project/export_settings.h"

#include <array>
#include <utility>

namespace vemro {

namespace {

constexpr std::array<std::pair<PageImage, const char*>, 3> kImages{{
    {PageImage::Png, "png"},
    {PageImage::Png8, "png8"},
    {PageImage::Tga, "tga"},
}};

}  // namespace

bool describesYOffsets(DescriptorFormat format) {
    return format != DescriptorFormat::Tfd;
}

const char* pageImageName(PageImage image) {
    for (const auto& [entry, name] : kImages) {
        if (entry == image) {
            return name;
        }
    }
    return "";
}

std::optional<PageImage> pageImageNamed(const std::string& name) {
    for (const auto& [entry, entryName] : kImages) {
        if (name == entryName) {
            return entry;
        }
    }
    return std::nullopt;
}

}  // namespace vemro
