#pragma once

#include <string>
#include <vector>

#include "engine/font_renderer.h"
#include "engine/project.h"
#include "engine/result.h"
#include "files/project_file.h"

namespace vemro {

// A project as it is used after opening a file, and what had to change on the way.
struct OpenedProject {
    Project project;
    // One line per stored value that matched nothing on offer, naming the value and what is
    // used instead.
    std::vector<std::string> warnings;
};

// Applies a stored project as File > Open does: font borders brought into 0..16 and the size
// into 5..100 the way the spins take them (low 16 bits as a signed number, then the range);
// weight, quality and factor matched against the choices on offer; the face name matched
// case-insensitively against faces (the installed name is used). A value that matches nothing
// keeps the one in fallback, with a warning. Glyph records are kept as stored, duplicates
// included; their bytes are Windows-1252.
OpenedProject applyProjectFile(const ProjectFile& file, const std::vector<std::string>& faces,
                               const Project& fallback);

// Reads and applies a project file: the one path of File > Open, --export and the fuzz harness.
// The window passes the project it shows as the fallback (a value that matches nothing keeps
// the current choice); the headless command passes the start-up project.
Result<OpenedProject> openProject(const std::string& path, const std::vector<std::string>& faces,
                                  const Project& fallback);

// The file that stores the project.
ProjectFile projectFileFor(const Project& project);

// Writes the project's file through a temporary file and a rename.
Status saveProject(const std::string& path, const Project& project);

}  // namespace vemro
