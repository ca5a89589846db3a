// Makes the pictures of the manual from the window itself (scripts/screenshots runs it), and the
// projects they show:
//
//   vemro_docs_screenshot PROJECT.fnt OUTPUT.png [--set CONTROL=VALUE]... [--grab WIDGET]
//                         [--size WxH]
//   vemro_docs_screenshot --make-project OUTPUT.fnt [OPTIONS of the export command]
//
// The first opens the project in the main window, sets the window's own controls in the order
// given (a tab widget to the tab of that name, a combo box to the entry of that text, a spin box
// or slider to that number, a check box "on" or "off", a line edit to that text), waits for the
// atlas and writes the widget of that name (the whole window by default) as a PNG. The second
// writes the start-up project with the export command's options applied, as a project file.
// Settings and recent projects go to a temporary folder, never the user's.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <iostream>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/font/freetype_font_renderer.h"
#include "files/cli/export_options.h"
#include "files/project/project_opener.h"
#include "tests/ui/fake_file_prompts.h"
#include "ui/builder_dialog.h"

namespace {

using vemro::BuilderDialog;

int fail(const QString& message) {
    std::cerr << "vemro_docs_screenshot: " << message.toStdString() << '\n';
    return 1;
}

// The start-up project with the options applied, written as a project file.
int makeProject(const std::string& output, std::span<const std::string> args) {
    vemro::FreetypeFontRenderer renderer;
    const vemro::Result<vemro::ParsedArguments> parsed =
        vemro::parseOptions(args, vemro::exportOptions(), vemro::kExportCommand);
    if (!parsed) {
        return fail(QString::fromStdString(parsed.message()));
    }
    if (!parsed->operands.empty()) {
        return fail(QStringLiteral("--make-project takes options only"));
    }
    vemro::Document document{vemro::startupProject(renderer.defaultFaceName())};
    if (const auto failure = vemro::applyExportOverrides(parsed->options, document, renderer)) {
        return fail(QString::fromStdString(failure->message));
    }
    const vemro::Status saved = vemro::saveProject(output, document);
    return saved ? 0 : fail(QString::fromStdString(saved.message()));
}

// Sets one of the window's controls as a user would, so that the window reacts as it does to
// the user; an empty text when it could, else what went wrong.
QString setControl(BuilderDialog& window, const QString& name, const QString& value) {
    QWidget* control = window.findChild<QWidget*>(name);
    if (control == nullptr) {
        return QStringLiteral("the window has no control named %1").arg(name);
    }
    bool number = false;
    const int asNumber = value.toInt(&number);
    if (auto* tabs = qobject_cast<QTabWidget*>(control)) {
        QWidget* page = tabs->findChild<QWidget*>(value);
        if (page == nullptr || tabs->indexOf(page) < 0) {
            return QStringLiteral("%1 has no tab named %2").arg(name, value);
        }
        tabs->setCurrentWidget(page);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const int index = combo->findText(value);
        if (index < 0) {
            return QStringLiteral("%1 offers no \"%2\"").arg(name, value);
        }
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
        if (value != QLatin1String("on") && value != QLatin1String("off")) {
            return QStringLiteral("%1 takes on or off").arg(name);
        }
        if (check->isChecked() != (value == QLatin1String("on"))) {
            check->click();
        }
    } else if (auto* spin = qobject_cast<QSpinBox*>(control); spin != nullptr && number) {
        spin->setValue(asNumber);
    } else if (auto* slider = qobject_cast<QSlider*>(control); slider != nullptr && number) {
        slider->setValue(asNumber);
    } else if (auto* line = qobject_cast<QLineEdit*>(control)) {
        line->setText(value);
        emit line->editingFinished();
    } else {
        return QStringLiteral("cannot set %1 to \"%2\"").arg(name, value);
    }
    window.waitForResult();
    return {};
}

struct Shot {
    QString project;
    QString output;
    QString grab = QStringLiteral("window");
    std::optional<QSize> size;
    std::vector<std::pair<QString, QString>> settings;
};

std::optional<Shot> readShot(const QStringList& args, QString& problem) {
    Shot shot;
    QStringList operands;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            operands.append(arg);
            continue;
        }
        if (i + 1 == args.size()) {
            problem = QStringLiteral("%1 needs a value").arg(arg);
            return std::nullopt;
        }
        const QString value = args[++i];
        if (arg == QLatin1String("--set") && value.contains(QLatin1Char('='))) {
            const qsizetype equals = value.indexOf(QLatin1Char('='));
            shot.settings.emplace_back(value.left(equals), value.mid(equals + 1));
        } else if (arg == QLatin1String("--grab")) {
            shot.grab = value;
        } else if (arg == QLatin1String("--size") && value.split(QLatin1Char('x')).size() == 2) {
            shot.size = QSize(value.section(QLatin1Char('x'), 0, 0).toInt(),
                              value.section(QLatin1Char('x'), 1, 1).toInt());
        } else {
            problem = QStringLiteral("unknown option %1 %2").arg(arg, value);
            return std::nullopt;
        }
    }
    if (operands.size() != 2) {
        problem = QStringLiteral(
            "usage: vemro_docs_screenshot PROJECT.fnt OUTPUT.png "
            "[--set CONTROL=VALUE]... [--grab WIDGET] [--size WxH]");
        return std::nullopt;
    }
    shot.project = operands[0];
    shot.output = operands[1];
    return shot;
}

int takeShot(const Shot& shot) {
    vemro::FreetypeFontRenderer renderer;
    vemro::FakeFilePrompts prompts;
    BuilderDialog window(renderer, prompts);
    if (shot.size) {
        window.resize(*shot.size);
    }
    window.show();
    if (!window.openProjectFile(shot.project)) {
        return fail(QStringLiteral("%1 could not be opened").arg(shot.project));
    }
    window.waitForResult();
    for (const auto& [name, value] : shot.settings) {
        if (const QString problem = setControl(window, name, value); !problem.isEmpty()) {
            return fail(problem);
        }
    }
    // Let the window lay itself out and paint once before it is grabbed.
    QApplication::processEvents();
    QWidget* target =
        shot.grab == QLatin1String("window") ? &window : window.findChild<QWidget*>(shot.grab);
    if (target == nullptr) {
        return fail(QStringLiteral("the window has no widget named %1").arg(shot.grab));
    }
    if (!target->grab().save(shot.output, "PNG")) {
        return fail(QStringLiteral("%1 could not be written").arg(shot.output));
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == "--make-project") {
        return makeProject(args[1], std::span(args).subspan(2));
    }
    QApplication app(argc, argv);
    // The same look on every desktop: the pictures must not depend on the user's theme.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QString problem;
    const std::optional<Shot> shot = readShot(QApplication::arguments().mid(1), problem);
    if (!shot) {
        return fail(problem);
    }
    return takeShot(*shot);
}
