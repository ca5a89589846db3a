#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/atlas.h"
#include "engine/font_settings.h"

class QButtonGroup;
class QLabel;

namespace Ui {
class BuilderDialog;
}

namespace vemro {

class FilePrompts;
class FontRenderer;
struct LoadedProject;

// The main window. It owns the atlas for the whole run, routes every control and menu command
// to its handler, and shows the atlas in the preview. Font settings and borders are read from
// the controls whenever they are needed; the controls are the only place they are kept.
class BuilderDialog : public QMainWindow {
    Q_OBJECT

public:
    // Both must outlive the window.
    BuilderDialog(FontRenderer& renderer, FilePrompts& prompts, QWidget* parent = nullptr);
    ~BuilderDialog() override;

    // Opens the project at path as File > Open does once a file is chosen. The file is read and
    // checked completely first: when it cannot be used, nothing changes and the user is told
    // why. Asks nothing about unsaved changes.
    bool openProjectFile(const QString& path);

    const Atlas& atlas() const { return atlas_; }

    // The font settings the controls show now.
    FontSettings fontSettings() const;

    // Rebuilds run since the window was made (the first one is the start-up rebuild).
    int rebuildCount() const { return rebuildCount_; }

    // True when the project differs from what was last saved, opened or started with.
    bool hasUnsavedChanges() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Makes every connection from a control or menu command to its handler, in one place.
    void connectRoutes();
    void initialise();

    // Control handlers.
    void applyTextureSize();
    void applyFontSettings();
    void applyCharacterBorders();
    void showCharacterBorders();
    void applyZoom();
    void applyShowRectangles();

    // Menu commands.
    void newAtlas();
    void openProject();
    bool saveProject();
    void exportFont();
    void addCharacters();
    void addFullCharset();

    void rebuild();
    void onAtlasRebuilt();
    void refillCharacterList();
    void updateOutsideStatus();
    void showLoadedSettings(const LoadedProject& loaded);
    void showLoadMessage(const QString& path, const std::vector<std::string>& warnings);
    void clearLoadMessage();
    void openDroppedProject(const QString& path);

    // Asks whether to save a changed project first; false when the user cancels (or the save
    // fails), in which case the caller must leave everything as it is.
    bool confirmDiscardChanges();
    std::vector<std::uint8_t> projectBytes() const;
    void markSaved();
    std::int32_t factor() const;

    std::unique_ptr<Ui::BuilderDialog> ui_;
    FontRenderer& renderer_;
    FilePrompts& prompts_;
    Atlas atlas_;
    QButtonGroup* widthButtons_ = nullptr;
    QButtonGroup* heightButtons_ = nullptr;
    QLabel* outsideLabel_ = nullptr;
    bool initialised_ = false;
    int rebuildCount_ = 0;
    // The project file's bytes as last saved, opened or started with.
    std::vector<std::uint8_t> savedProject_;
};

}  // namespace vemro
