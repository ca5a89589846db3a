#include <QApplication>
#include <QFile>
#include <QIcon>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "engine/font/freetype_font_renderer.h"
#include "files/cli/command_line.h"
#include "ui/builder_app.h"
#include "ui/qt_file_prompts.h"

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    vemro::FreetypeFontRenderer renderer;
    // The headless commands run before any GUI object exists, so they need no display.
    if (const std::optional<int> code =
            vemro::runCommandLine(args, renderer, std::cout, std::cerr)) {
        return *code;
    }

    QApplication app(argc, argv);
    // The settings (recent projects, the folder used last) live under these names.
    QApplication::setOrganizationName(QStringLiteral("Vemro"));
    QApplication::setApplicationName(QStringLiteral("Vemro Font builder"));
    // The desktop entry and icon the installed program comes with (VEMRO_APP_ID), by which a
    // Wayland desktop matches the window to them.
    QGuiApplication::setDesktopFileName(QStringLiteral(VEMRO_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(VEMRO_APP_ID)));
    vemro::QtFilePrompts prompts;
    vemro::BuilderApp builder(renderer, prompts);
    std::optional<QString> projectPath;
    if (!args.empty()) {
        projectPath = QFile::decodeName(QByteArray::fromStdString(args.front()));
    }
    return builder.run(projectPath);
}
