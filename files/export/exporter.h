#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/atlas/atlas_result.h"
#include "engine/project/project.h"
#include "files/project/export_settings.h"

namespace vemro {

// What an export did: the files it wrote and, for every file it could not write, a message
// naming the file and the reason. An export that was refused wrote nothing and has one failure
// saying why.
struct ExportReport {
    std::vector<std::string> written;
    std::vector<std::string> failures;

    bool ok() const { return failures.empty(); }
};

// A format as the format table gives it (export_formats.cpp), besides its writer.
struct FormatRow {
    // The number project files store for it.
    DescriptorFormat id;
    // Its name on the command line ("tfd").
    const char* name;
    // The format as the window lists it, in the export dialog's file-type filter and the
    // "Export" group ("TGA and .tfd").
    const char* displayName;
    // The extension of the path the user picks, with its dot (".tga").
    const char* extension;
};

// One export format: its row of the format table and the writer of its files. The user picks
// one path; the format derives every file it writes from it (for example NAME.tga and NAME.tfd
// from NAME.tga).
class Exporter {
public:
    explicit Exporter(const FormatRow& row) : row_(row) {}
    virtual ~Exporter() = default;

    const FormatRow& row() const { return row_; }
    DescriptorFormat format() const { return row_.id; }
    std::string name() const { return row_.name; }
    std::string displayName() const { return row_.displayName; }
    std::string fileExtension() const { return row_.extension; }

    // Every file write() would write for the chosen path, the export settings and this atlas, in
    // the order written.
    std::vector<std::string> outputFiles(const std::string& chosenPath,
                                         const ExportSettings& settings,
                                         const AtlasResult& result) const;
    // The same for the default export settings (a 32-bit PNG page image).
    std::vector<std::string> outputFiles(const std::string& chosenPath,
                                         const AtlasResult& result) const;

    // Writes the atlas of the project with the export settings (a document's). Each file is
    // written whole or not at all. Refused, with nothing written, when the chosen path names no
    // file (exportNameProblem), or a file it would write is the project's own file (projectPath,
    // the file the project was opened from or saved to; empty for none) or an existing project
    // file of any name (exportTargetProblem).
    ExportReport write(const std::string& chosenPath, const Project& project,
                       const ExportSettings& settings, const AtlasResult& result,
                       const std::string& projectPath = {}) const;

protected:
    virtual std::vector<std::string> targetFiles(const std::string& chosenPath,
                                                 const ExportSettings& settings,
                                                 const AtlasResult& result) const = 0;
    // Writes the files once write() has found them safe to write.
    virtual ExportReport writeFiles(const std::string& chosenPath, const Project& project,
                                    const ExportSettings& settings,
                                    const AtlasResult& result) const = 0;

private:
    FormatRow row_;
};

// Why an export must not write its files, or nothing: one of them is the project's own file
// (projectPath; empty for none), or an existing file that reads as a project file (or starts as
// one, with a damaged or newer extension) rather than an earlier export. The BMFont descriptor
// and the project file both end in ".fnt", so a descriptor may be chosen over a project.
std::optional<std::string> exportTargetProblem(const std::vector<std::string>& targets,
                                               const std::string& projectPath);

// The format table: every format on offer, one row each, in the order the export dialog, the
// "Export" group and --help list them; the first is the default. Every DescriptorFormat up to
// kLastDescriptorFormat has one.
const std::vector<const Exporter*>& registeredExporters();

// The format with that command-line name, or nullptr.
const Exporter* findExporter(const std::string& name);

// The format a project's export settings store.
const Exporter& exporterFor(DescriptorFormat format);

// The format's command-line name ("json").
const char* descriptorFormatName(DescriptorFormat format);

// The command-line names of every format in the table's order, each after the first preceded
// by `separator`, the last by `lastSeparator`: "tfd|bmfont-text|...|json", "tfd, ... or json".
std::string formatNames(const char* separator, const char* lastSeparator);

}  // namespace vemro
