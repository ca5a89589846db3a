#pragma once

#include "ui/file_prompts.h"

namespace vemro {

// The file prompts as the desktop shows them: file dialogs and message boxes.
class QtFilePrompts : public FilePrompts {
public:
    std::optional<QString> askSaveProjectPath(QWidget* parent) override;
    std::optional<QString> askOpenProjectPath(QWidget* parent) override;
    std::optional<ExportChoice> askExportPath(QWidget* parent,
                                              const QList<ExportFormat>& formats) override;
    UnsavedChanges askSaveChanges(QWidget* parent) override;
    void showError(QWidget* parent, const QString& title, const QString& message) override;
};

}  // namespace vemro
