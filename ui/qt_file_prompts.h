#pragma once

#include "ui/file_prompts.h"

namespace vemro {

// The file prompts as the desktop shows them: file dialogs and message boxes.
class QtFilePrompts : public FilePrompts {
public:
    std::optional<QString> askSaveProjectPath(QWidget* parent, const QString& proposed) override;
    std::optional<QString> askOpenProjectPath(QWidget* parent, const QString& proposed) override;
    std::optional<ExportChoice> askExportPath(QWidget* parent, const QList<ExportFormat>& formats,
                                              qsizetype selected, const QString& proposed,
                                              const ExportNameCheck& nameCheck) override;
    std::optional<QString> askFontFilePath(QWidget* parent, const QString& proposed) override;
    std::optional<qsizetype> askFontFace(QWidget* parent, const QString& fileName,
                                         const QStringList& faces) override;
    std::optional<QString> askCharacterFilePath(QWidget* parent, const QString& proposed) override;
    std::optional<QColor> askColour(QWidget* parent, const QString& title, const QColor& initial,
                                    bool withAlpha) override;
    bool confirm(QWidget* parent, const QString& title, const QString& question,
                 const QString& acceptText) override;
    UnsavedChanges askSaveChanges(QWidget* parent) override;
    void showError(QWidget* parent, const QString& title, const QString& message) override;
};

}  // namespace vemro
