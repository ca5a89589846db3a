#pragma once

#include <string>
#include <vector>

#include "engine/atlas_result.h"
#include "engine/project.h"

namespace vemro {

// What an export did: the files it wrote and, for every file it could not write, a message
// naming the file and the reason.
struct ExportReport {
    std::vector<std::string> written;
    std::vector<std::string> failures;

    bool ok() const { return failures.empty(); }
};

// One export format. The user picks one path; the format derives every file it writes from it
// (for example NAME.tga and NAME.tfd from NAME.tga).
class Exporter {
public:
    virtual ~Exporter() = default;

    // The format's name on the command line ("tfd").
    virtual std::string name() const = 0;
    // The format as the export prompt lists it in its file-type filter ("Targa image").
    virtual std::string displayName() const = 0;
    // The extension of the path the user picks, with its dot (".tga").
    virtual std::string fileExtension() const = 0;

    // Every file write() would write for the chosen path and this atlas, in the order written.
    virtual std::vector<std::string> outputFiles(const std::string& chosenPath,
                                                 const AtlasResult& result) const = 0;

    // Writes the atlas of the project. Each file is written whole or not at all.
    virtual ExportReport write(const std::string& chosenPath, const Project& project,
                               const AtlasResult& result) const = 0;
};

// The formats on offer, in the order the export prompt lists them; the first is the default.
const std::vector<const Exporter*>& registeredExporters();

// The registered format with that command-line name, or nullptr.
const Exporter* findExporter(const std::string& name);

}  // namespace vemro
