// Start and end of the window program: a project named at start is opened once the window is
// up, and the program's event loop ends when the window closes.

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "engine/font/freetype_font_renderer.h"
#include "files/project/project_file.h"
#include "tests/ui/fake_file_prompts.h"
#include "ui/builder_app.h"
#include "ui/builder_dialog.h"

namespace vemro::test {

namespace {

BuilderDialog* shownWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<BuilderDialog*>(widget); window && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

}  // namespace

class BuilderAppTest : public QObject {
    Q_OBJECT

private slots:
    void opensProjectGivenAtStartAndEndsWithWindow();
    void startsEmptyWithoutProject();

private:
    // Closes the window once it shows, after recording its glyph codes and how many cells its
    // atlas holds.
    void closeWhenShown(std::vector<char32_t>& codes, std::size_t& cells) {
        QTimer::singleShot(0, [this, &codes, &cells] {
            BuilderDialog* window = shownWindow();
            if (window == nullptr) {
                closeWhenShown(codes, cells);
                return;
            }
            // The project is opened by an event queued behind the first showing.
            QTimer::singleShot(0, window, [window, &codes, &cells] {
                for (const Glyph& glyph : window->project().glyphs) {
                    codes.push_back(glyph.code);
                }
                cells = window->waitForResult()->glyphs.size();
                window->close();
            });
        });
    }

    FreetypeFontRenderer renderer_;
};

void BuilderAppTest::opensProjectGivenAtStartAndEndsWithWindow() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ProjectFile project;
    project.faceName = renderer_.faceNames().front();
    project.glyphs = {{'v', 0, 0}, {'m', 0, 0}};
    const QString path = dir.filePath(QStringLiteral("start.fnt"));
    QVERIFY(writeProjectFile(path.toStdString(), project).ok());

    FakeFilePrompts prompts;
    BuilderApp app(renderer_, prompts);
    std::vector<char32_t> codes;
    std::size_t cells = 0;
    closeWhenShown(codes, cells);
    QCOMPARE(app.run(path), 0);
    QCOMPARE(codes, (std::vector<char32_t>{U'v', U'm'}));
    QCOMPARE(cells, std::size_t{2});
    // The opened project is unchanged: closing asked nothing.
    QCOMPARE(prompts.unsavedAsks, 0);
    QVERIFY(prompts.errors.isEmpty());
}

void BuilderAppTest::startsEmptyWithoutProject() {
    FakeFilePrompts prompts;
    BuilderApp app(renderer_, prompts);
    std::vector<char32_t> codes;
    std::size_t cells = 1;
    closeWhenShown(codes, cells);
    QCOMPARE(app.run(std::nullopt), 0);
    QVERIFY(codes.empty());
    QCOMPARE(cells, std::size_t{0});
}

}  // namespace vemro::test

QTEST_MAIN(vemro::test::BuilderAppTest)
#include "builder_app_test.moc"
