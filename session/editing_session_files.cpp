// The session's file commands: New, Open and Save of the project file, and a font file in place
// of an installed face.

#include <filesystem>

#include "files/io/regular_file.h"
#include "files/project/project_opener.h"
#include "session/editing_session.h"
#include "session/session_text.h"

namespace vemro {

namespace {

std::string absolutePath(const std::string& path) {
    return std::filesystem::absolute(path).lexically_normal().string();
}

}  // namespace

void EditingSession::newProject() {
    edit("New", [](Document& document) { document.project.glyphs.clearGlyphs(); });
    path_.clear();
    markSaved();
}

Result<std::vector<std::string>> EditingSession::open(const std::string& path) {
    using Opened = Result<std::vector<std::string>>;
    // A value the file stores that matches nothing on offer keeps the current choice.
    Result<OpenedProject> opened = openProject(path, renderer_.faceNames(), document_.project);
    if (!opened) {
        return Opened::failure(sentence(opened.message()));
    }
    const AtlasSize size = opened->document.project.textureSize;
    if (!AtlasSize::isValidSide(size.width) || !AtlasSize::isValidSide(size.height)) {
        return Opened::failure(fileNameOf(path) + " asks for a " + std::to_string(size.width) +
                               " x " + std::to_string(size.height) +
                               " texture; each side must be 1 to " +
                               std::to_string(AtlasSize::kMaxSide) + " pixels.");
    }
    // A weight the face does not offer (a file made for another face) becomes one it does,
    // unless the font file is missing: then the project keeps what it holds, as it keeps the path.
    Document& document = opened->document;
    const std::int32_t stored = document.project.font.weight;
    if (document.project.font.fontFile.empty() ||
        !regularFileProblem(document.project.font.fontFile)) {
        keepOfferedWeight(document);
    }
    if (document.project.font.weight != stored) {
        opened->warnings.push_back("the stored weight " + std::to_string(stored) +
                                   " is not offered by " + document.project.font.faceName +
                                   "; using " + std::to_string(document.project.font.weight));
    }
    // Another file is another piece of work: what was done before cannot be taken back into it.
    history_.clear();
    restore(opened->document);
    path_ = absolutePath(path);
    markSaved();
    return std::move(opened->warnings);
}

Status EditingSession::save(const std::string& path) {
    const Status status = saveProject(path, document_);
    if (!status) {
        return Status::failure(sentence(status.message()));
    }
    path_ = absolutePath(path);
    markSaved();
    return status;
}

Result<std::vector<FontFileFace>> EditingSession::inspectFontFile(const std::string& path) {
    Result<std::vector<FontFileFace>> faces = renderer_.inspectFontFile(path);
    if (!faces) {
        return Result<std::vector<FontFileFace>>::failure(sentence(faces.message()));
    }
    if (faces->empty()) {
        return Result<std::vector<FontFileFace>>::failure(fileNameOf(path) + " holds no face.");
    }
    return faces;
}

std::string EditingSession::faceCaption(const FontFileFace& face) {
    return face.styleName.empty() ? face.familyName : face.familyName + " " + face.styleName;
}

void EditingSession::useFontFile(const std::string& path, const FontFileFace& face) {
    edit("Use Font File", [this, &path, &face](Document& document) {
        FontSettings& font = document.project.font;
        font.fontFile = path;
        font.fontFaceIndex = face.index;
        font.faceName = face.familyName;
        keepOfferedWeight(document);
    });
}

}  // namespace vemro
