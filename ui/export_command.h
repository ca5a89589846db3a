#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "files/project/export_settings.h"

class QWidget;

namespace vemro {

class FilePrompts;
struct AtlasResult;
struct Document;

// What File > Export Font did: the path the user chose (empty when the command stopped before
// that), the files written, and a sentence naming the pages of an earlier export that this one
// left as they were (empty for none).
struct ExportOutcome {
    QString chosenPath;
    QStringList written;
    QString leftovers;
};

// Where File > Export Font starts: the dialog's folder, the name it proposes (without an
// extension; none when empty), and the project's own file (empty for none), which an export may
// never write over.
struct ExportPlace {
    QString folder;
    QString baseName;
    QString projectPath;
};

// File > Export Font for the atlas of the document's project. When characters lie outside the
// texture, asks first whether to export them cut. Asks for the path and format, the dialog starting
// at the project's stored format with its extension proposed, and never proposing a name an export
// may not write ("NAME-export.fnt" where "NAME.fnt" is the project). The export writes with the
// format picked, which goes to chooseFormat (the window stores it in the project) once every
// file is written. Refuses, saying why and writing nothing, when a file it would write is the
// project's own or another project file. Asks once before replacing files, naming every
// existing file the export would write and the pages of an earlier
// export it leaves (leftoverPages). Tells the user of every file that could not be written.
ExportOutcome runExport(QWidget* parent, FilePrompts& prompts, const Document& document,
                        const AtlasResult& result, const ExportPlace& place,
                        const std::function<void(DescriptorFormat)>& chooseFormat);

// A list of names as a sentence takes it: "a", "a and b", "a, b and c".
QString joinNames(const QStringList& names);

}  // namespace vemro
