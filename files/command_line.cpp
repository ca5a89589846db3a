#include "files/command_line.h"

#include "engine/atlas.h"
#include "files/atlas_export.h"
#include "files/project_file.h"
#include "files/project_loader.h"

namespace vemro {

namespace {

constexpr const char* kProgram = "vemro-font-builder";
constexpr const char* kVersion = "1.0.0";

void printUsage(std::ostream& stream) {
    stream << "Usage:\n"
           << "  " << kProgram << " [PROJECT.fnt]\n"
           << "      open the window, optionally with a font project\n"
           << "  " << kProgram << " --export PROJECT.fnt OUTPUT\n"
           << "      rebuild the project's atlas and write OUTPUT with the extension replaced\n"
           << "      by .tga (image) and .tfd (glyph description)\n"
           << "  " << kProgram << " --list-faces\n"
           << "      print the typefaces that can be chosen, one per line\n"
           << "  " << kProgram << " --help\n"
           << "  " << kProgram << " --version\n";
}

int usageError(std::ostream& err, const std::string& problem) {
    err << kProgram << ": " << problem << "\n";
    printUsage(err);
    return 2;
}

// The settings the window shows when it starts.
FontSettings startupSettings(const std::vector<std::string>& faces) {
    FontSettings settings;
    settings.faceName = faces.empty() ? std::string() : faces.front();
    settings.size = 11;
    settings.weight = FontSettings::kWeightNormal;
    settings.quality = FontSettings::kQualityAntialiased;
    settings.factor = 1;
    settings.italic = false;
    return settings;
}

int exportProject(const std::string& projectPath, const std::string& outputPath,
                  FontRenderer& renderer, std::ostream& err) {
    const Result<ProjectFile> file = readProjectFile(projectPath);
    if (!file) {
        err << kProgram << ": " << file.message() << "\n";
        return 1;
    }
    const std::vector<std::string>& faces = renderer.faceNames();
    LoadedProject loaded = loadProject(file.value(), faces, startupSettings(faces));
    for (const std::string& warning : loaded.warnings) {
        err << "warning: " << warning << "\n";
    }

    Atlas atlas(renderer);
    if (!atlas.setTextureSize(loaded.textureSize)) {
        err << kProgram << ": cannot use the texture size " << loaded.textureSize.width << " x "
            << loaded.textureSize.height << " of \"" << projectPath << "\"\n";
        return 1;
    }
    atlas.setFontBorders(loaded.fontBorders);
    atlas.glyphs() = std::move(loaded.glyphs);
    atlas.recreateFont(loaded.settings);
    atlas.rebuildAtlas(loaded.settings.factor);

    const std::size_t outside = atlas.glyphsOutsideTexture();
    if (outside > 0) {
        err << "warning: " << outside << (outside == 1 ? " glyph lies" : " glyphs lie")
            << " partly or wholly outside the " << loaded.textureSize.width << " x "
            << loaded.textureSize.height << " texture\n";
    }

    const std::vector<std::string> failures = exportAtlas(outputPath, atlas);
    for (const std::string& failure : failures) {
        err << kProgram << ": " << failure << "\n";
    }
    return failures.empty() ? 0 : 1;
}

}  // namespace

std::optional<int> runCommandLine(const std::vector<std::string>& args, FontRenderer& renderer,
                                  std::ostream& out, std::ostream& err) {
    if (args.empty() || (args.size() == 1 && !args[0].starts_with("-"))) {
        return std::nullopt;
    }
    const std::string& command = args[0];
    const auto expectArguments = [&](std::size_t count) { return args.size() == count + 1; };

    if (command == "--help") {
        if (!expectArguments(0)) {
            return usageError(err, "--help takes no arguments");
        }
        printUsage(out);
        return 0;
    }
    if (command == "--version") {
        if (!expectArguments(0)) {
            return usageError(err, "--version takes no arguments");
        }
        out << kProgram << " " << kVersion << "\n";
        return 0;
    }
    if (command == "--list-faces") {
        if (!expectArguments(0)) {
            return usageError(err, "--list-faces takes no arguments");
        }
        for (const std::string& face : renderer.faceNames()) {
            out << face << "\n";
        }
        return 0;
    }
    if (command == "--export") {
        if (!expectArguments(2)) {
            return usageError(err, "--export takes a project file and an output path");
        }
        return exportProject(args[1], args[2], renderer, err);
    }
    if (command.starts_with("-")) {
        return usageError(err, "unknown option \"" + command + "\"");
    }
    return usageError(err, "too many arguments");
}

}  // namespace vemro
