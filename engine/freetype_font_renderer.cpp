#include "engine/freetype_font_renderer.h"

#include <optional>
#include <string>
#include <utility>

#include "engine/face_cache.h"
#include "engine/font_catalogue.h"
#include "engine/freetype_font.h"

namespace vemro {

namespace {

Result<std::unique_ptr<Font>> failure(const FontRequest& request, const std::string& reason) {
    const std::string font = request.faceName.empty() ? std::string("the default font")
                                                      : "the font \"" + request.faceName + "\"";
    return Result<std::unique_ptr<Font>>::failure(font + " could not be made at " +
                                                  std::to_string(request.pixelHeight) +
                                                  " pixels: " + reason);
}

}  // namespace

struct FreetypeFontRenderer::Impl {
    // The catalogue holds no FreeType object, so the order of the two does not matter.
    FaceCache faces;
    FontCatalogue catalogue;
};

FreetypeFontRenderer::FreetypeFontRenderer() : impl_(std::make_unique<Impl>()) {}

FreetypeFontRenderer::~FreetypeFontRenderer() = default;

const std::vector<std::string>& FreetypeFontRenderer::faceNames() {
    return impl_->catalogue.names(impl_->faces);
}

Result<std::unique_ptr<Font>> FreetypeFontRenderer::createFont(const FontRequest& request) {
    if (request.pixelHeight <= 0) {
        return failure(request, "the height must be at least one pixel");
    }
    const FT_Library library = impl_->faces.library();
    if (library == nullptr) {
        return failure(request, "FreeType could not be started");
    }
    const std::optional<FaceLocation> location = impl_->catalogue.chooseFace(request, impl_->faces);
    if (!location) {
        return failure(request, "no installed font file matches it");
    }
    const FT_Face face = impl_->faces.open(*location);
    if (face == nullptr) {
        return failure(request, "the file " + location->path + " could not be opened as a font");
    }
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
        return failure(request, "the file " + location->path + " holds no scalable outlines");
    }
    Result<std::unique_ptr<FreetypeFont>> font = FreetypeFont::create(library, face, request);
    if (!font) {
        return failure(request, font.message());
    }
    return std::unique_ptr<Font>(std::move(font.value()));
}

std::string FreetypeFontRenderer::defaultFaceName() {
    return impl_->catalogue.defaultSansName(impl_->faces);
}

}  // namespace vemro
