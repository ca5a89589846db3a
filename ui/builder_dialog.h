#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "session/editing_session.h"

class QProgressBar;
class QPushButton;
class QTimer;

namespace Ui {
class BuilderDialog;
}

namespace vemro {

class ElidedLabel;
class FieldBinder;
class FilePrompts;
class ListControls;
class RecentFiles;

// The main window: a view over an editing session. It shows the session's document in its
// controls, its atlas in the preview and the sample line, its note and the atlas's state in the
// status line, and its file and unsaved state in the title; it forwards what the user does to
// the session, and asks the user what a command needs to know (through the file prompts) before
// the session runs it. A rebuild finished on the session's thread is shown once the window's
// thread gets to it; a short one is waited for, so it shows at once.
class BuilderDialog : public QMainWindow {
    Q_OBJECT

public:
    // Both must outlive the window.
    BuilderDialog(FontRenderer& renderer, FilePrompts& prompts, QWidget* parent = nullptr);
    ~BuilderDialog() override;

    // Opens the project at path as File > Open does once a file is chosen. When it cannot be
    // used, nothing changes and the user is told why. Asks nothing about unsaved changes. An
    // opened file becomes the first of the recent projects.
    bool openProjectFile(const QString& path);

    EditingSession& session() { return *session_; }
    const Document& document() const { return session_->document(); }
    const Project& project() const { return session_->project(); }
    // The file the project was opened from or last saved to; empty for a new project.
    QString projectPath() const;
    bool hasUnsavedChanges() const { return session_->hasUnsavedChanges(); }
    // The atlas the preview and the status line show; never null.
    const std::shared_ptr<const AtlasResult>& shownResult() const {
        return session_->shownResult();
    }
    bool isRebuilding() const { return session_->isRebuilding(); }
    // Waits until the atlas of the current project is there (rebuilding it after a cancelled
    // rebuild), shows it and returns it: with a busy cursor, and past a moment in a progress
    // dialog whose Cancel cancels the rebuild, in which case it returns null. Commands that need
    // the atlas go through here.
    std::shared_ptr<const AtlasResult> waitForResult();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Every control, the preview, the sample line, the status line and the title show the
    // session as it is now; only what differs is set.
    void refresh();
    void showResult();
    void connectCommands();

    // The progress of a long rebuild (builder_dialog_progress.cpp): the status line's bar and
    // Cancel button, and Esc; showProgress shows it as it is now and keeps looking while the
    // rebuild runs.
    void setUpProgress();
    void showProgress();

    // The preview's controls and the sample line (builder_dialog_view.cpp).
    void setUpView();
    void applyZoom(int percent);
    void showZoom();
    void showTextureOfResult();
    void showSampleText();

    // Characters and faces (builder_dialog_characters.cpp).
    void connectLists();
    void selectCharacter();
    void findCharacter(bool next);
    void applyCharacterBorder(bool left);
    void chooseFace(int index);
    void useFontFile();
    void editFallbacks();
    void addCharacters();
    void addCharacterSet();
    void addCharactersFromFile();
    void removeCharacters();

    // Files (builder_dialog_files.cpp).
    void fileNew();
    void fileOpen();
    void fileOpenRecent(const QString& path);
    bool fileSave();
    bool fileSaveAs();
    bool saveTo(const QString& path);
    void fileExport();
    // Asks whether to save a changed project first; false when the user cancels (or the save
    // fails), in which case the caller must leave everything as it is.
    bool confirmDiscardChanges();
    // Where a file dialog starts: the project's folder, or the folder used last.
    QString startFolder() const;
    void showLoadMessage(const QString& path, const std::vector<std::string>& warnings);
    // Tells the user why a command failed; false then.
    bool succeeded(const Status& status, const QString& title);

    std::unique_ptr<Ui::BuilderDialog> ui_;
    FilePrompts& prompts_;
    std::unique_ptr<EditingSession> session_;
    std::unique_ptr<FieldBinder> binder_;
    std::unique_ptr<ListControls> lists_;
    ElidedLabel* statusLabel_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QAction* cancelAction_ = nullptr;
    QTimer* progressTimer_ = nullptr;
    // Whether waitForResult waits in its progress dialog.
    bool waiting_ = false;
    // "Take Them from ...": adds the typeface the missing-characters note offers.
    QPushButton* offerButton_ = nullptr;
    RecentFiles* recent_ = nullptr;
    // The atlas the preview shows.
    std::shared_ptr<const AtlasResult> shown_;
};

}  // namespace vemro
