#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace vemro {

// One format the export prompt offers: its caption and the extension of the file the user
// picks for it, without the dot ("tga").
struct ExportFormat {
    QString caption;
    QString extension;
};

// The path picked for an export, and the format it was picked for (an index into the formats
// offered).
struct ExportChoice {
    QString path;
    qsizetype format = 0;
};

// The name the export prompt proposes once the user picks another format (an index into the
// formats offered) while the name field holds path: path itself, or another path when that one
// may not be written.
using ExportNameCheck = std::function<QString(const QString& path, qsizetype format)>;

// The questions the main window asks the user about files (and the colours of its effects). The
// window talks to this interface only, so tests can answer in place of a person.
class FilePrompts {
public:
    enum class UnsavedChanges { Save, Discard, Cancel };

    virtual ~FilePrompts() = default;

    // The dialogs start at proposed: a folder, or a file whose folder they show with its name
    // filled in.

    // A path for File > Save As ("Font (*.fnt)" or "All (*.*)"; "fnt" appended to a name
    // without an extension; asks before replacing a file), or nothing when cancelled.
    virtual std::optional<QString> askSaveProjectPath(QWidget* parent, const QString& proposed) = 0;

    // An existing file for File > Open, or nothing when cancelled.
    virtual std::optional<QString> askOpenProjectPath(QWidget* parent, const QString& proposed) = 0;

    // A path and format for File > Export Font: one filter per format ("Caption (*.ext)"), the
    // one at index selected chosen at first; the chosen format's extension appended to a name
    // without one. When the user picks another format, the name becomes the one nameCheck
    // gives for it. It does not ask about replacing files: the window asks once about every
    // file the format writes. Nothing when cancelled. formats is never empty.
    virtual std::optional<ExportChoice> askExportPath(QWidget* parent,
                                                      const QList<ExportFormat>& formats,
                                                      qsizetype selected, const QString& proposed,
                                                      const ExportNameCheck& nameCheck) = 0;

    // An existing font file for File > Use Font File ("Fonts (*.ttf *.otf *.ttc *.otc *.woff
    // *.woff2)" or "All (*)"), or nothing when cancelled.
    virtual std::optional<QString> askFontFilePath(QWidget* parent, const QString& proposed) = 0;

    // Which face of a font collection to use: an index into faces (each "Family Style"), or
    // nothing when cancelled. fileName names the collection.
    virtual std::optional<qsizetype> askFontFace(QWidget* parent, const QString& fileName,
                                                 const QStringList& faces) = 0;

    // An existing text file for Tools > Add characters from file ("Text (*.txt)" or "All
    // (*)"), or nothing when cancelled.
    virtual std::optional<QString> askCharacterFilePath(QWidget* parent,
                                                        const QString& proposed) = 0;

    // A colour, starting at initial; with withAlpha its opacity too. Nothing when cancelled.
    virtual std::optional<QColor> askColour(QWidget* parent, const QString& title,
                                            const QColor& initial, bool withAlpha) = 0;

    // A yes-or-no question; true when the user takes the button labelled acceptText.
    virtual bool confirm(QWidget* parent, const QString& title, const QString& question,
                         const QString& acceptText) = 0;

    // Whether to save the changed project before it is replaced or the program ends.
    virtual UnsavedChanges askSaveChanges(QWidget* parent) = 0;

    // Tells the user why a command failed.
    virtual void showError(QWidget* parent, const QString& title, const QString& message) = 0;
};

}  // namespace vemro
