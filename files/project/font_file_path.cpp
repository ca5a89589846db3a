#include "files/project/font_file_path.h"

#include <filesystem>
#include <system_error>

namespace vemro {

namespace {

namespace fs = std::filesystem;

fs::path absoluteNormal(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = path.is_absolute() ? path : fs::absolute(path, error);
    return (error ? path : absolute).lexically_normal();
}

// The folder the project file lies in, absolute.
fs::path projectFolder(const std::string& projectPath) {
    if (projectPath.empty()) {
        std::error_code error;
        return fs::current_path(error).lexically_normal();
    }
    return absoluteNormal(projectPath).parent_path();
}

}  // namespace

std::string resolveFontFilePath(const std::string& stored, const std::string& projectPath) {
    const fs::path font(stored);
    if (font.is_absolute()) {
        return font.lexically_normal().string();
    }
    return (projectFolder(projectPath) / font).lexically_normal().string();
}

std::string storedFontFilePath(const std::string& fontFile, const std::string& projectPath) {
    const fs::path font = absoluteNormal(fontFile);
    const fs::path relative = font.lexically_relative(projectFolder(projectPath));
    if (!relative.empty() && *relative.begin() != ".." && relative != ".") {
        return relative.string();
    }
    return font.string();
}

}  // namespace vemro
