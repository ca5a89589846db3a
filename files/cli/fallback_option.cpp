#include "files/cli/fallback_option.h"

#include <algorithm>
#include <filesystem>

#include "files/cli/font_options.h"
#include "files/project/fallback_section.h"
#include "files/project/font_file_path.h"

namespace vemro {

bool namesFontFile(const std::string& argument) {
    const std::string path = splitFontFileArgument(argument).path;
    if (path.find('/') != std::string::npos) {
        return true;
    }
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* font : {".ttf", ".otf", ".ttc", ".otc", ".woff", ".woff2"}) {
        if (extension == font) {
            return true;
        }
    }
    return false;
}

Status addFallback(const std::string& argument, Document& document, FontRenderer& renderer) {
    std::vector<FallbackFace>& fallbacks = document.project.fallbacks;
    if (fallbacks.size() >= kMaxProjectFallbacks) {
        return Status::failure("a project holds at most " + std::to_string(kMaxProjectFallbacks) +
                               " fallback faces");
    }
    const auto [given, index] = splitFontFileArgument(argument);
    std::error_code ignored;
    FallbackFace face;
    if (namesFontFile(argument) || std::filesystem::exists(given, ignored)) {
        face.fontFile = resolveFontFilePath(given, std::string());
        face.faceIndex = index.value_or(0);
        const Result<std::vector<FontFileFace>> faces = renderer.inspectFontFile(face.fontFile);
        if (!faces) {
            return Status::failure(faces.message());
        }
        if (std::none_of(faces->begin(), faces->end(),
                         [&](const FontFileFace& f) { return f.index == face.faceIndex; })) {
            return Status::failure("the font file \"" + face.fontFile + "\" holds no face " +
                                   std::to_string(face.faceIndex));
        }
    } else if (argument.empty()) {
        return Status::failure("--fallback needs a typeface's name or a font file");
    } else {
        face.faceName = argument;
    }
    fallbacks.push_back(std::move(face));
    return Status::success();
}

}  // namespace vemro
