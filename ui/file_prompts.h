#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace vemro {

// The questions the main window asks the user about files. The window talks to this interface
// only, so tests can answer in place of a person.
class FilePrompts {
public:
    enum class UnsavedChanges { Save, Discard, Cancel };

    virtual ~FilePrompts() = default;

    // A path for File > Save ("Font (*.fnt)" or "All (*.*)"; "fnt" appended to a name without
    // an extension; asks before replacing a file), or nothing when cancelled.
    virtual std::optional<QString> askSaveProjectPath(QWidget* parent) = 0;

    // An existing file for File > Open, or nothing when cancelled.
    virtual std::optional<QString> askOpenProjectPath(QWidget* parent) = 0;

    // A path for File > Export Font ("Targa image (*.tga)"; "tga" appended to a name without an
    // extension; asks before replacing a file), or nothing when cancelled.
    virtual std::optional<QString> askExportPath(QWidget* parent) = 0;

    // Whether to save the changed project before it is replaced or the program ends.
    virtual UnsavedChanges askSaveChanges(QWidget* parent) = 0;

    // Tells the user why a command failed.
    virtual void showError(QWidget* parent, const QString& title, const QString& message) = 0;
};

}  // namespace vemro
