#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "tests/ui/temporary_settings.h"
#include "ui/file_prompts.h"

namespace vemro {

// Answers the window's file questions from fields a test sets, and counts the questions.
class FakeFilePrompts : public FilePrompts {
public:
    std::optional<QString> askSaveProjectPath(QWidget* /*parent*/,
                                              const QString& proposed) override {
        ++saveAsks;
        proposedSave = proposed;
        return savePath;
    }
    std::optional<QString> askOpenProjectPath(QWidget* /*parent*/,
                                              const QString& proposed) override {
        ++openAsks;
        proposedOpen = proposed;
        return openPath;
    }
    std::optional<ExportChoice> askExportPath(QWidget* /*parent*/,
                                              const QList<ExportFormat>& formats,
                                              qsizetype selected, const QString& proposed,
                                              const ExportNameCheck& /*nameCheck*/) override {
        ++exportAsks;
        exportFormats = formats;
        selectedExportFormat = selected;
        proposedExport = proposed;
        if (!exportPath) {
            return std::nullopt;
        }
        return ExportChoice{*exportPath, exportFormat.value_or(selected)};
    }
    std::optional<QString> askFontFilePath(QWidget* /*parent*/, const QString& proposed) override {
        ++fontFileAsks;
        proposedFontFile = proposed;
        return fontFilePath;
    }
    std::optional<qsizetype> askFontFace(QWidget* /*parent*/, const QString& /*fileName*/,
                                         const QStringList& faces) override {
        offeredFaces = faces;
        return fontFaceAnswer;
    }
    std::optional<QString> askCharacterFilePath(QWidget* /*parent*/,
                                                const QString& /*proposed*/) override {
        return characterFilePath;
    }
    std::optional<QColor> askColour(QWidget* /*parent*/, const QString& title,
                                    const QColor& initial, bool withAlpha) override {
        colourQuestions.append(title);
        colourAskedWith = initial;
        colourWithAlpha = withAlpha;
        return colourAnswer;
    }
    bool confirm(QWidget* /*parent*/, const QString& /*title*/, const QString& question,
                 const QString& /*acceptText*/) override {
        questions.append(question);
        return confirmAnswer;
    }
    UnsavedChanges askSaveChanges(QWidget* /*parent*/) override {
        ++unsavedAsks;
        return unsavedAnswer;
    }
    void showError(QWidget* /*parent*/, const QString& title, const QString& message) override {
        errors.append(title + QStringLiteral(": ") + message);
    }

    std::optional<QString> savePath;
    std::optional<QString> openPath;
    std::optional<QString> exportPath;
    // The format picked in the export dialog; without one, the format it started with.
    std::optional<qsizetype> exportFormat;
    std::optional<QString> fontFilePath;
    std::optional<qsizetype> fontFaceAnswer;
    std::optional<QString> characterFilePath;
    UnsavedChanges unsavedAnswer = UnsavedChanges::Cancel;
    bool confirmAnswer = true;
    std::optional<QColor> colourAnswer;
    QStringList colourQuestions;
    QColor colourAskedWith;
    bool colourWithAlpha = false;

    int saveAsks = 0;
    int openAsks = 0;
    int exportAsks = 0;
    int unsavedAsks = 0;
    int fontFileAsks = 0;
    QStringList offeredFaces;  // the faces of the last collection asked about
    QString proposedFontFile;
    QList<ExportFormat> exportFormats;    // as offered the last time
    qsizetype selectedExportFormat = -1;  // the format the export dialog started with last
    QString proposedSave;                 // where the last dialog of each kind started
    QString proposedOpen;
    QString proposedExport;
    QStringList questions;  // every yes-or-no question asked
    QStringList errors;
};

}  // namespace vemro
