#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/atlas/atlas_result.h"
#include "engine/project/project.h"
#include "files/project/document.h"
#include "ui/project_history.h"

class QSpinBox;

namespace Ui {
class BuilderDialog;
}

namespace vemro {

class ElidedLabel;
class FilePrompts;
class FontRenderer;
class ProjectControls;
class RebuildWorker;
class RecentFiles;

// The main window. It holds the document, the one store of every setting and character: the
// controls show it, and every change a control or command makes is written into it, kept on
// the undo stack, and its project is rebuilt into an atlas on a thread of its own. The preview
// and the status line show the atlas of the latest project as soon as it is there; a short
// rebuild is waited for, so it shows at once, and a long one is announced in the status line
// meanwhile.
class BuilderDialog : public QMainWindow {
    Q_OBJECT

public:
    // Both must outlive the window.
    BuilderDialog(FontRenderer& renderer, FilePrompts& prompts, QWidget* parent = nullptr);
    ~BuilderDialog() override;

    // Opens the project at path as File > Open does once a file is chosen. The file is read and
    // checked completely first: when it cannot be used, nothing changes and the user is told
    // why. Asks nothing about unsaved changes. An opened file becomes the project's file and
    // the first of the recent projects.
    bool openProjectFile(const QString& path);

    // The file the project was opened from or last saved to; empty for a new project.
    const QString& projectPath() const { return projectPath_; }

    const Document& document() const { return document_; }
    const Project& project() const { return document_.project; }

    // The atlas the preview and the status line show; never null. While a rebuild runs it is
    // the atlas of an earlier project.
    const std::shared_ptr<const AtlasResult>& shownResult() const { return result_; }
    // Waits until the atlas of the current project is there, shows it and returns it; never
    // null. Commands that need the atlas (Export) go through here.
    const std::shared_ptr<const AtlasResult>& waitForResult();
    // Whether the shown atlas is of an earlier project than the current one.
    bool isRebuilding() const { return shownGeneration_ != requestedGeneration_; }

    // True when the project file's bytes differ from those last saved, opened or started with.
    bool hasUnsavedChanges() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    using MergeKey = ProjectHistory::MergeKey;

    // Makes every connection from a control or menu command to its handler, in one place.
    void connectRoutes();
    void routeSpin(QSpinBox* spin, int control, const QString& text,
                   void (*store)(Project&, std::int32_t));

    // Control handlers.
    void applyTextureSide(int buttonId, bool width);
    void applyCharacterBorder(QSpinBox* spin, bool left);
    void selectCharacter();
    // Selects the entry of the "Character" list the find field names, the first one or the one
    // after the selected entry, as if the user had picked it.
    void findCharacter(bool next);

    // The "Effects" group (builder_dialog_effects.cpp): its routes, and a change of the effects
    // as a change of the project, after which the group shows what the effects enable.
    void connectEffects();
    void editEffects(const QString& text, const std::function<void(EffectSettings&)>& edit,
                     std::optional<MergeKey> key = std::nullopt);

    // The preview's controls (builder_dialog_view.cpp).
    // The zoom slider and box, the page selector and the preview's scroll bars.
    void setUpView();
    // The zoom the slider or the percentage box was set to.
    void applyZoom(int percent);
    // The slider and the percentage box show the preview's zoom.
    void showZoom();
    void zoomStep(int direction);
    void applyShowRectangles();
    // The page the page selector was set to, counted from 1.
    void applyPage(int page);
    // The texture size the shown atlas uses and its pages, in the "Used" label and the page
    // selector (enabled only with several pages).
    void showTextureOfResult();
    // The sample line: the project's text drawn from the shown atlas, and the characters of it
    // the atlas lacks named beside "Show cells".
    void showSampleText();
    // The sample line draws from the shown atlas, with the description an export writes of it.
    void showSampleAtlas();

    // Menu commands.
    void fileNew();
    void fileOpen();
    void fileOpenRecent(const QString& path);
    // Save writes to the project's file, and asks for one only when there is none yet.
    bool fileSave();
    bool fileSaveAs();
    bool saveTo(const QString& path);
    void fileExport();
    // Stores the descriptor format chosen in the "Export" group or the export dialog.
    void chooseExportFormat(DescriptorFormat format);
    // Picks the "Name" list's entry at index: an installed face, which drops a font file.
    void chooseFace(int index);
    void fileUseFontFile();
    void toolsAddCharacters();
    void toolsAddCharacterSet();
    void toolsAddCharactersFromFile();
    void toolsAddFullCharset();
    void toolsRemoveCharacter();
    void toolsRemoveCharacters();
    void toolsRemoveMissingCharacters();

    // Adds the characters (each once) that are not in the list yet, in their order, as one
    // undo step; returns how many. Refuses, saying why, to make the list longer than a
    // project file holds.
    std::optional<std::size_t> addCharacters(const QString& text,
                                             const std::vector<char32_t>& characters);
    // Says in the status line what a command that adds characters did with the ones chosen
    // (chosen of them, distinct): how many it added (nothing when it refused), how many were in
    // the list already, and how many of the blocks were left out as the face lacks them.
    void noteAdded(std::optional<std::size_t> added, std::size_t chosen, std::size_t lacking = 0,
                   const QStringList& blocks = {});
    // Removes every glyph of the characters, as one undo step.
    void removeCharacters(const QString& text, const std::vector<char32_t>& characters);
    // "7 characters are not in DejaVu Sans: ア イ ...", or empty when the face has them all.
    static QString missingCharactersNote(const AtlasResult& result);

    // A change of the document: edit applied to a copy, which becomes the document (as one undo
    // step, or part of the open run of edits with the same key); its project is rebuilt when it
    // changed. A change that changes nothing only rebuilds.
    void editDocument(const QString& text, const std::function<void(Document&)>& edit,
                      std::optional<MergeKey> key = std::nullopt);
    // The same for a change of the document's project.
    void editProject(const QString& text, const std::function<void(Project&)>& edit,
                     std::optional<MergeKey> key = std::nullopt);
    // Undo, redo and File > Open: the document as it was, shown in the controls and rebuilt.
    void restoreDocument(const Document& document);
    // Asks for the project's atlas and waits a little for it.
    void rebuild();
    // Shows the worker's newest atlas when it is the current project's.
    void takeFinishedRebuild();
    void showResult(std::shared_ptr<const AtlasResult> result, std::uint64_t generation);
    void updateStatus();
    // The title: the project's file name (or "Untitled") and a "*" while there are unsaved
    // changes.
    void updateTitle();
    // Where a file dialog starts: the project's folder, or the folder used last.
    QString startFolder() const;
    QString emptyListHint() const;

    void showLoadMessage(const QString& path, const std::vector<std::string>& warnings);
    void clearLoadMessage();
    void openDroppedProject(const QString& path);

    // Asks whether to save a changed project first; false when the user cancels (or the save
    // fails), in which case the caller must leave everything as it is.
    bool confirmDiscardChanges();
    std::vector<std::uint8_t> projectBytes() const;
    void markSaved();

    std::unique_ptr<Ui::BuilderDialog> ui_;
    FontRenderer& renderer_;
    FilePrompts& prompts_;
    Document document_;
    std::unique_ptr<RebuildWorker> worker_;
    // The generation of the last rebuild asked for, and of the atlas shown.
    std::uint64_t requestedGeneration_ = 0;
    std::uint64_t shownGeneration_ = 0;
    std::shared_ptr<const AtlasResult> result_;
    std::unique_ptr<ProjectControls> controls_;
    ProjectHistory* history_ = nullptr;
    ElidedLabel* statusLabel_ = nullptr;
    // The project file's bytes as last saved, opened or started with.
    std::vector<std::uint8_t> savedProject_;
    QString projectPath_;
    RecentFiles* recent_ = nullptr;
    // What the last command did (the files an export wrote, the characters added), shown in
    // the status line until the project changes.
    QString note_;
    // The characters the shown atlas's face lacks, as the status line names them.
    QString missingNote_;
};

}  // namespace vemro
