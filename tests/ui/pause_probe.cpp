// Measures how long the window stops answering while a user works on a project of 30,000
// characters. A timer that should fire every millisecond notes the longest gap between two of
// its firings while each action runs from the event loop, as a click or key press does, and
// the event loop then goes on for a while (finished rebuilds arrive, the preview repaints).
// Not part of the test suite: run it by hand, on the offscreen platform or under xvfb-run.
//
//   build/tests/ui/vemro_ui_pause_probe [FONT_FILE]
//
// The project holds every character of FONT_FILE (Debian's Droid Sans Fallback by default)
// and, up to 30,000, CJK ideographs it lacks, drawn from that file.

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "engine/font/freetype_font_renderer.h"
#include "files/project/project_opener.h"
#include "tests/ui/fake_file_prompts.h"
#include "tests/ui/ui_test_helpers.h"
#include "ui/builder_dialog.h"

namespace {

using namespace vemro;
using namespace vemro::test;

constexpr std::size_t kCharacters = 30000;

struct Pause {
    double longest = 0.0;  // ms without an answer
    double shown = 0.0;    // ms until the current project's atlas was shown
};

// The longest gap between firings of a one-millisecond timer while action runs from the event
// loop and the loop goes on until the atlas is shown and settle milliseconds have passed.
Pause longestPause(BuilderDialog& window, const std::function<void()>& action, int settle = 300) {
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    clock.start();
    tick.start();
    qint64 started = 0;
    QTimer::singleShot(5, [&] {
        started = clock.nsecsElapsed();
        action();
    });
    qint64 shown = -1;
    QElapsedTimer settling;
    settling.start();
    while (started == 0 || window.isRebuilding() || settling.elapsed() < settle) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        if (started != 0 && shown < 0 && !window.isRebuilding()) {
            shown = clock.nsecsElapsed() - started;
        }
    }
    return {static_cast<double>(longest) / 1e6, static_cast<double>(shown) / 1e6};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string fontFile =
        argc > 1 ? argv[1] : "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf";
    FreetypeFontRenderer renderer;
    FontRequest request{"", 16};
    request.fontFile = fontFile;
    Result<std::unique_ptr<Font>> font = renderer.createFont(request);
    if (!font) {
        std::fprintf(stderr, "%s\n", font.message().c_str());
        return 1;
    }
    Project project = startupProject(renderer.defaultFaceName());
    project.font.fontFile = fontFile;
    project.font.faceName = font.value()->familyName();
    for (const char32_t code : font.value()->characters()) {
        if (code >= 0x20 && project.glyphs.size() < kCharacters) {
            project.glyphs.addCharacter(code);
        }
    }
    for (char32_t code = 0x3400; project.glyphs.size() < kCharacters; ++code) {
        project.glyphs.addCharacter(code);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.fnt"));
    if (!saveProject(path.toStdString(), Document{project})) {
        return 1;
    }

    FakeFilePrompts prompts;
    prompts.unsavedAnswer = FilePrompts::UnsavedChanges::Discard;
    prompts.fontFilePath = QString::fromStdString(fontFile);
    prompts.savePath = dir.filePath(QStringLiteral("saved.fnt"));
    prompts.exportPath = dir.filePath(QStringLiteral("out.tga"));
    BuilderDialog window(renderer, prompts);
    window.show();
    auto* name = child<QComboBox>(window, "nameCombo");
    auto* characters = child<QComboBox>(window, "characterCombo");
    const std::vector<std::pair<const char*, std::function<void()>>> actions = {
        {"open the project", [&] { window.openProjectFile(path); }},
        {"size typed 24", [&] { typeInto(child<QSpinBox>(window, "sizeSpin"), "24"); }},
        {"size arrow up",
         [&] { QTest::keyClick(child<QSpinBox>(window, "sizeSpin"), Qt::Key_Up); }},
        {"font border typed 3", [&] { typeInto(child<QSpinBox>(window, "borderLeftSpin"), "3"); }},
        {"width 512", [&] { click(child<QRadioButton>(window, "width512Radio")); }},
        {"height 128", [&] { click(child<QRadioButton>(window, "height128Radio")); }},
        {"weight Bold", [&] { chooseItem(child<QComboBox>(window, "weightCombo"), 2); }},
        {"quality", [&] { chooseItem(child<QComboBox>(window, "qualityCombo"), 1); }},
        {"anti-aliasing 4x4", [&] { chooseItem(child<QComboBox>(window, "factorCombo"), 3); }},
        {"italic", [&] { click(child<QCheckBox>(window, "italicCheck")); }},
        {"size arrow up 5 times, 20 ms apart",
         [&] {
             for (int i = 0; i < 5; ++i) {
                 QTimer::singleShot(20 * i, [&window] {
                     QTest::keyClick(child<QSpinBox>(window, "sizeSpin"), Qt::Key_Up);
                 });
             }
         }},
        {"installed face", [&] { chooseItem(name, name->count() - 1); }},
        {"Use Font File", [&] { trigger(window, "actionUseFontFile"); }},
        {"open the character list", [&] { characters->showPopup(); }},
        {"close it", [&] { characters->hidePopup(); }},
        {"select character 20000", [&] { chooseItem(characters, 20000); }},
        {"character border typed 4",
         [&] { typeInto(child<QSpinBox>(window, "charBorderLeftSpin"), "4"); }},
        {"find U+4E2D", [&] { typeText(child<QLineEdit>(window, "characterFindEdit"), "U+4E2D"); }},
        {"Undo", [&] { trigger(window, "actionUndo"); }},
        {"Redo", [&] { trigger(window, "actionRedo"); }},
        {"Remove character", [&] { trigger(window, "actionRemoveCharacter"); }},
        {"Add Torvyn Charset", [&] { trigger(window, "actionAddTorvynCharset"); }},
        {"Remove characters the face lacks",
         [&] { trigger(window, "actionRemoveMissingCharacters"); }},
        {"Undo", [&] { trigger(window, "actionUndo"); }},
        {"Save As", [&] { trigger(window, "actionSaveAs"); }},
        {"Export Font (waits for the atlas)", [&] { trigger(window, "actionExportFont"); }},
    };
    double worst = 0.0;
    for (const auto& [caption, action] : actions) {
        const Pause pause = longestPause(window, action);
        std::printf("%-36s longest pause %7.1f ms, atlas shown after %7.1f ms\n", caption,
                    pause.longest, pause.shown);
        if (std::string_view(caption).starts_with("Export")) {
            continue;
        }
        worst = std::max(worst, pause.longest);
    }
    std::printf("%zu characters; longest pause of a control or editing command: %.1f ms\n",
                window.project().glyphs.size(), worst);
    return 0;
}
