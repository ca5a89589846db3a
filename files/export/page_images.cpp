#include "files/export/page_images.h"

#include "files/export/export_path.h"
#include "files/export/png_image.h"
#include "files/export/tga_image.h"

namespace vemro {

std::vector<std::string> pageImagePaths(const std::string& chosenPath, std::size_t pageCount,
                                        PageImage image) {
    const std::string extension = image == PageImage::Tga ? ".tga" : ".png";
    const std::size_t digits = std::to_string(pageCount > 0 ? pageCount - 1 : 0).size();
    std::vector<std::string> paths;
    paths.reserve(pageCount);
    for (std::size_t page = 0; page < pageCount; ++page) {
        std::string number = std::to_string(page);
        number.insert(0, digits - number.size(), '0');
        std::string suffix = "_";
        suffix += number;
        suffix += extension;
        paths.push_back(exportPath(chosenPath, suffix));
    }
    return paths;
}

Status writePageImage(const std::string& path, const AtlasPage& page, AtlasSize size,
                      PageImage image) {
    switch (image) {
        case PageImage::Tga:
            return writeTgaImage(path, page, size);
        case PageImage::Png8:
            return writePngImage(path, page, size, PngPixels::Coverage);
        case PageImage::Png:
            break;
    }
    return writePngImage(path, page, size, PngPixels::WhiteWithAlpha);
}

}  // namespace vemro
