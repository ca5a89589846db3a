#include "engine/font/freetype_font_renderer.h"

#include <strings.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "engine/font/fallback_font.h"
#include "engine/font/freetype/face_cache.h"
#include "engine/font/freetype/face_variation.h"
#include "engine/font/freetype/font_catalogue.h"
#include "engine/font/freetype/fontconfig_choice.h"
#include "engine/font/freetype/freetype_font.h"
#include "engine/font/freetype/freetype_library.h"

namespace vemro {

namespace {

// Face indices above this select named instances of variable fonts, not faces.
constexpr std::int32_t kMaxFaceIndex = 0xFFFF;

std::string describe(const FontRequest& request) {
    if (!request.fontFile.empty()) {
        return "the font file \"" + request.fontFile + "\"";
    }
    return request.faceName.empty() ? std::string("the default font")
                                    : "the font \"" + request.faceName + "\"";
}

Result<std::unique_ptr<Font>> failure(const FontRequest& request, const std::string& reason) {
    return Result<std::unique_ptr<Font>>::failure(describe(request) + " could not be made at " +
                                                  std::to_string(request.pixelHeight) +
                                                  " pixels: " + reason);
}

// Whether FreeType can draw the face: from outlines, or from colour bitmap strikes.
bool drawable(FT_Face face) {
    return face != nullptr && FreetypeFont::unitsPerEm(face) != 0 &&
           (FT_IS_SCALABLE(face) || (FT_HAS_COLOR(face) && FT_HAS_FIXED_SIZES(face)));
}

std::string fileUnusable(const std::string& path, const std::string& reason) {
    return "the font file \"" + path + "\" could not be opened: " + reason;
}

// Why a path cannot be a font file before FreeType is asked, or nothing. FreeType would wait
// for ever on a named pipe and read a device without end, so only regular files are opened.
std::optional<std::string> notAFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return "there is no such file";
    }
    if (status.type() == std::filesystem::file_type::directory) {
        return "it is a folder";
    }
    if (!error && status.type() != std::filesystem::file_type::regular) {
        return "it is not a regular file";
    }
    return std::nullopt;
}

// Why FreeType could not open a font file, as a phrase a user can read.
std::string openProblem(const std::string& path, FT_Error error, FreetypeLibrary& library) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        return "it is a folder";
    }
    if (error == FT_Err_Unknown_File_Format) {
        return "it is not a font file FreeType can read";
    }
    if (error == FT_Err_Cannot_Open_Resource) {
        errno = 0;
        if (std::FILE* file = std::fopen(path.c_str(), "rb"); file != nullptr) {
            std::fclose(file);
        } else if (errno == ENOENT) {
            return "there is no such file";
        } else if (errno == EACCES) {
            return "it may not be read (permission denied)";
        } else if (errno != 0) {
            std::string reason = std::strerror(errno);
            reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
            return reason;
        }
        return "it cannot be read";
    }
    if (error == FT_Err_Invalid_Argument) {
        // An index past the faces of the file.
        if (const FreetypeLibrary::Face count = library.open(path, -1)) {
            return "it holds " + std::to_string(count->num_faces) +
                   (count->num_faces == 1 ? " face" : " faces") + ", numbered from 0";
        }
    }
    const char* text = FT_Error_String(error);
    return text != nullptr ? "FreeType reports \"" + std::string(text) + "\""
                           : "FreeType reports error " + std::to_string(error);
}

}  // namespace

struct FreetypeFontRenderer::Impl {
    // Declared first so that it goes last, after every face.
    FreetypeLibrary library;
    // Guards the cache and the catalogue.
    std::mutex mutex;
    FaceCache faces{library};
    FontCatalogue catalogue;
    FontconfigChoice choice;
};

FreetypeFontRenderer::FreetypeFontRenderer() : impl_(std::make_unique<Impl>()) {}

FreetypeFontRenderer::~FreetypeFontRenderer() = default;

const std::vector<std::string>& FreetypeFontRenderer::faceNames() {
    // The list is built once and never changes after, so it can be read outside the lock.
    const std::lock_guard lock(impl_->mutex);
    return impl_->catalogue.names(impl_->faces);
}

Result<std::unique_ptr<Font>> FreetypeFontRenderer::createFont(const FontRequest& request) {
    if (request.pixelHeight <= 0) {
        return failure(request, "the height must be at least one pixel");
    }
    if (!request.fallbacks.empty()) {
        return createWithFallbacks(request);
    }
    const FT_Library library = impl_->library.get();
    if (library == nullptr) {
        return failure(request, "FreeType could not be started");
    }
    if (!request.fontFile.empty() && (request.faceIndex < 0 || request.faceIndex > kMaxFaceIndex)) {
        return Result<std::unique_ptr<Font>>::failure(fileUnusable(
            request.fontFile, "there is no face " + std::to_string(request.faceIndex) + " in it"));
    }
    if (!request.fontFile.empty()) {
        if (const std::optional<std::string> problem = notAFile(request.fontFile)) {
            return Result<std::unique_ptr<Font>>::failure(fileUnusable(request.fontFile, *problem));
        }
    }
    // A font file is drawn at the weight and italic its axes give, if it has any.
    FaceChoice choice{FaceLocation{request.fontFile, request.faceIndex}, true};
    const FaceLocation& location = choice.location;
    std::shared_ptr<FaceSource> source;
    {
        const std::lock_guard lock(impl_->mutex);
        if (request.fontFile.empty()) {
            std::optional<FaceChoice> chosen = impl_->catalogue.chooseFace(request, impl_->faces);
            if (!chosen) {
                return failure(request, "no installed font file matches it");
            }
            choice = std::move(*chosen);
        }
        source = impl_->faces.source(location);
    }
    // A face for the font alone, so that fonts of one face can be used on several threads at
    // once.
    FT_Error error = 0;
    FreetypeLibrary::Face face = source->take(impl_->library, &error);
    if (!request.fontFile.empty()) {
        if (!face) {
            return Result<std::unique_ptr<Font>>::failure(fileUnusable(
                request.fontFile, openProblem(request.fontFile, error, impl_->library)));
        }
        if (!drawable(face.get())) {
            return Result<std::unique_ptr<Font>>::failure(
                fileUnusable(request.fontFile, "it holds no scalable outlines"));
        }
    }
    if (!face) {
        return failure(request, "the file " + location.path + " could not be opened as a font");
    }
    if (!drawable(face.get())) {
        return failure(request, "the file " + location.path + " holds no scalable outlines");
    }
    Result<std::unique_ptr<FreetypeFont>> font =
        FreetypeFont::create(impl_->library, std::move(source), std::move(face), request, choice);
    if (!font) {
        return failure(request, font.message());
    }
    return std::unique_ptr<Font>(std::move(font.value()));
}

Result<std::vector<FontFileFace>> FreetypeFontRenderer::inspectFontFile(const std::string& path) {
    using Faces = Result<std::vector<FontFileFace>>;
    if (const std::optional<std::string> problem = notAFile(path)) {
        return Faces::failure(fileUnusable(path, *problem));
    }
    FT_Error error = 0;
    const FreetypeLibrary::Face first = impl_->library.open(path, 0, &error);
    if (!first) {
        return Faces::failure(fileUnusable(path, openProblem(path, error, impl_->library)));
    }
    std::vector<FontFileFace> faces;
    const auto list = [&](FT_Face face, FT_Long index) {
        if (drawable(face)) {
            FaceSource source(path, index);
            faces.push_back(FontFileFace{static_cast<std::int32_t>(index), source.familyName(face),
                                         face->style_name != nullptr ? face->style_name : ""});
        }
    };
    list(first.get(), 0);
    const FT_Long count = std::min<FT_Long>(first->num_faces, kMaxFaceIndex + 1);
    for (FT_Long index = 1; index < count; ++index) {
        list(impl_->library.open(path, index).get(), index);
    }
    if (faces.empty()) {
        return Faces::failure(fileUnusable(path, "it holds no scalable outlines"));
    }
    return faces;
}

std::vector<FaceWeight> FreetypeFontRenderer::weightsOf(const FontRequest& request) {
    const std::lock_guard lock(impl_->mutex);
    if (request.fontFile.empty()) {
        return impl_->catalogue.weightsOf(request, impl_->faces);
    }
    if (request.faceIndex < 0 || request.faceIndex > kMaxFaceIndex || notAFile(request.fontFile)) {
        return {};
    }
    const FT_Face face = impl_->faces.open(FaceLocation{request.fontFile, request.faceIndex});
    return face != nullptr ? fontFileWeights(face, request.italic) : std::vector<FaceWeight>{};
}

std::string FreetypeFontRenderer::defaultFaceName() {
    const std::lock_guard lock(impl_->mutex);
    return impl_->catalogue.defaultSansName(impl_->faces);
}

std::optional<FontSource> FreetypeFontRenderer::fontSourceFor(const FontRequest& request) {
    if (!request.fontFile.empty()) {
        return FontSource{request.fontFile, request.faceIndex};
    }
    const std::lock_guard lock(impl_->mutex);
    const std::optional<FaceChoice> chosen = impl_->catalogue.chooseFace(request, impl_->faces);
    if (!chosen) {
        return std::nullopt;
    }
    return FontSource{chosen->location.path, chosen->location.index};
}

}  // namespace vemro

namespace vemro {

Result<std::unique_ptr<Font>> FreetypeFontRenderer::createWithFallbacks(
    const FontRequest& request) {
    FontRequest own = request;
    own.fallbacks.clear();
    std::vector<std::unique_ptr<Font>> fonts;
    Result<std::unique_ptr<Font>> primary = createFont(own);
    if (!primary) {
        return primary;
    }
    fonts.push_back(std::move(primary.value()));
    for (const FallbackFace& fallback : request.fallbacks) {
        FontRequest face = own;
        face.faceName = fallback.faceName;
        face.fontFile = fallback.fontFile;
        face.faceIndex = fallback.faceIndex;
        if (face.fontFile.empty()) {
            // A typeface of the list by its style; another installed face (a colour font of
            // bitmaps, which the list leaves out) by its family name alone.
            const std::vector<std::string>& names = faceNames();
            const bool listed =
                std::any_of(names.begin(), names.end(), [&](const std::string& name) {
                    return strcasecmp(name.c_str(), fallback.faceName.c_str()) == 0;
                });
            std::optional<FaceLocation> located;
            if (!listed) {
                const std::lock_guard lock(impl_->mutex);
                located =
                    impl_->choice.faceNamed(fallback.faceName, request.weight, request.italic);
            }
            if (!listed && !located) {
                return failure(request, "its fallback typeface \"" + fallback.faceName +
                                            "\" is not installed");
            }
            if (located) {
                face.fontFile = located->path;
                face.faceIndex = located->index;
            }
        }
        Result<std::unique_ptr<Font>> made = createFont(face);
        if (!made) {
            return failure(request, "its fallback could not be made: " + made.message());
        }
        fonts.push_back(std::move(made.value()));
    }
    return std::unique_ptr<Font>(new FallbackFont(std::move(fonts)));
}

std::optional<std::string> FreetypeFontRenderer::typefaceCovering(
    const std::vector<char32_t>& characters) {
    const std::lock_guard lock(impl_->mutex);
    return impl_->choice.familyCovering(characters);
}

}  // namespace vemro
