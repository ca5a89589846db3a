#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "ui/file_prompts.h"

namespace vemro {

// Answers the window's file questions from fields a test sets, and counts the questions.
class FakeFilePrompts : public FilePrompts {
public:
    std::optional<QString> askSaveProjectPath(QWidget* /*parent*/) override {
        ++saveAsks;
        return savePath;
    }
    std::optional<QString> askOpenProjectPath(QWidget* /*parent*/) override {
        ++openAsks;
        return openPath;
    }
    std::optional<ExportChoice> askExportPath(QWidget* /*parent*/,
                                              const QList<ExportFormat>& formats) override {
        ++exportAsks;
        exportFormats = formats;
        if (!exportPath) {
            return std::nullopt;
        }
        return ExportChoice{*exportPath, 0};
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
    UnsavedChanges unsavedAnswer = UnsavedChanges::Cancel;

    int saveAsks = 0;
    int openAsks = 0;
    int exportAsks = 0;
    int unsavedAsks = 0;
    QList<ExportFormat> exportFormats;  // as offered the last time
    QStringList errors;
};

}  // namespace vemro
