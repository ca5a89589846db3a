#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace vemro {

class FilePrompts;
struct AtlasResult;
struct Project;

// What File > Export Font did: the path the user chose (empty when the command stopped before
// that), and the files written.
struct ExportOutcome {
    QString chosenPath;
    QStringList written;
};

// File > Export Font for the project's atlas. When characters lie outside the texture, asks
// first whether to export them cut. Asks for the path and format, the dialog starting at
// folder with baseName and the first format's extension proposed (no name when baseName is
// empty). Asks once before replacing files, naming every existing file the chosen format would
// write. Tells the user of every file that could not be written.
ExportOutcome runExport(QWidget* parent, FilePrompts& prompts, const Project& project,
                        const AtlasResult& result, const QString& folder, const QString& baseName);

// A list of names as a sentence takes it: "a", "a and b", "a, b and c".
QString joinNames(const QStringList& names);

}  // namespace vemro
