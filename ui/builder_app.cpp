#include "ui/builder_app.h"

#include <QApplication>
#include <QTimer>

#include "ui/builder_dialog.h"

namespace vemro {

BuilderApp::BuilderApp(FontRenderer& renderer, FilePrompts& prompts)
    : renderer_(renderer), prompts_(prompts) {}

int BuilderApp::run(const std::optional<QString>& projectPath) {
    BuilderDialog dialog(renderer_, prompts_);
    dialog.show();
    if (projectPath) {
        // Opened once the window is up, so a message about the file has a window to sit on.
        QTimer::singleShot(0, &dialog,
                           [&dialog, path = *projectPath] { dialog.openProjectFile(path); });
    }
    // The program ends when its one window closes.
    QApplication::setQuitOnLastWindowClosed(true);
    return QApplication::exec();
}

}  // namespace vemro
