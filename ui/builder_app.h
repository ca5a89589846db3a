#pragma once

#include <QString>
#include <optional>

namespace vemro {

class FilePrompts;
class FontRenderer;

// The window side of the program: shows the main window, opens a project given at start, and
// runs until the window closes.
class BuilderApp {
public:
    // Both must outlive the app.
    BuilderApp(FontRenderer& renderer, FilePrompts& prompts);

    // Needs a QApplication. Returns the program's exit code.
    int run(const std::optional<QString>& projectPath);

private:
    FontRenderer& renderer_;
    FilePrompts& prompts_;
};

}  // namespace vemro
