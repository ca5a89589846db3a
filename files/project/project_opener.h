#pragma once

#include <string>
#include <vector>

#include "engine/core/result.h"
#include "engine/font/font_renderer.h"
#include "engine/project/project.h"
#include "files/project/document.h"
#include "files/project/project_file.h"

namespace vemro {

// A project file's document as it is used after opening the file, and what had to change on the
// way.
struct OpenedProject {
    Document document;
    // One line per stored value that matched nothing on offer, naming the value and what is
    // used instead.
    std::vector<std::string> warnings;
};

// Applies a stored project as File > Open does: font borders brought into 0..16 and the size
// into 5..100 the way the spins take them (low 16 bits as a signed number, then the range);
// the header's weight, quality and factor matched against the choices on offer (a weight the
// extension holds, 1..1000, is taken as it is); the face name matched case-insensitively against
// faces (the installed name is used). A value that matches nothing
// keeps the one in fallback, with a warning. The glyph list is the extension's character list
// when the file has one, else the glyph records (Windows-1252 bytes); either is kept as stored,
// duplicates included. The texture's sides, the packing settings, the export settings with the
// kerning option, the sample text and the effects come from the extension when it holds them,
// else they are the defaults.
// A stored font file is resolved against the folder of projectPath and kept as an absolute
// path. When it is a readable file, the header's face name is kept as it is (it names the file's
// family); when not, a warning names it and the face is matched as above, but the project keeps
// the font file, so that saving stores it again and a rebuild tries it again.
OpenedProject applyProjectFile(const ProjectFile& file, const std::vector<std::string>& faces,
                               const Project& fallback, const std::string& projectPath = {});

// Reads and applies a project file: the one path of File > Open, --export and the fuzz harness.
// The window passes the project it shows as the fallback (a value that matches nothing keeps
// the current choice); the headless command passes the start-up project.
Result<OpenedProject> openProject(const std::string& path, const std::vector<std::string>& faces,
                                  const Project& fallback);

// The file that stores the document: the glyphs with a Windows-1252 byte as glyph records, and an
// extension only when the document needs one (a character without such a byte, a font file, a
// texture side above 512, or packing settings, export settings, the kerning option, a sample
// text or effects other than the defaults).
// With a projectPath the font file is stored relative to that file's folder when it lies beneath
// it; without one it is stored as the project holds it.
ProjectFile projectFileFor(const Document& document, const std::string& projectPath = {});

// Writes the document's project file at path through a temporary file and a rename.
Status saveProject(const std::string& path, const Document& document);

}  // namespace vemro
