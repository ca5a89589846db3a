#include "ui/field_binder.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

#include "session/editing_session.h"
#include "ui/effect_colours.h"
#include "ui/file_prompts.h"

namespace vemro {

namespace {

constexpr int kSwatchSquare = 4;

QString hexName(const QColor& colour, bool withAlpha) {
    QString name = colour.name(QColor::HexRgb).toUpper();
    if (withAlpha) {
        name += QStringLiteral("%1").arg(colour.alpha(), 2, 16, QLatin1Char('0')).toUpper();
    }
    return name;
}

QColor colourOf(const DocumentField& row, const FieldValue& value) {
    const Rgba& colour = std::get<Rgba>(value);
    return toQColor(colour.colour, row.alpha ? colour.alpha : 255);
}

// "Fill colour" gives "Fill Colour", the title of its colour question.
QString titleOf(const char* label) {
    QString title = QString::fromUtf8(label);
    for (qsizetype i = 0; i < title.size(); ++i) {
        if (i == 0 || title[i - 1] == QLatin1Char(' ')) {
            title[i] = title[i].toUpper();
        }
    }
    return title;
}

// Checks the button of the choice of value; a value no button offers checks none.
void checkButton(QButtonGroup* group, const DocumentField& row, std::int32_t value) {
    const std::vector<FieldChoice> choices = row.choices();
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (choices[i].value == value && group->button(static_cast<int>(i)) != nullptr) {
            group->button(static_cast<int>(i))->setChecked(true);
            return;
        }
    }
    if (QAbstractButton* checked = group->checkedButton()) {
        group->setExclusive(false);
        checked->setChecked(false);
        group->setExclusive(true);
    }
}

// The control shows the value. Lists and check boxes report only what the user does, so they
// need no blocking; a value no list entry carries keeps the list's selection.
void showValue(const DocumentField& row, QWidget* widget, const FieldValue& value, bool enabled) {
    if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
        if (spin->value() != std::get<std::int32_t>(value)) {
            const QSignalBlocker blocker(spin);
            spin->setValue(std::get<std::int32_t>(value));
        }
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        check->setChecked(std::get<std::int32_t>(value) != 0);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (const int index = combo->findData(std::get<std::int32_t>(value)); index >= 0) {
            combo->setCurrentIndex(index);
        }
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // Set only when it differs, so that the cursor stays where the user types.
        const QString text = QString::fromStdString(std::get<std::string>(value));
        if (edit->text() != text) {
            edit->setText(text);
        }
    } else if (auto* button = qobject_cast<QToolButton*>(widget)) {
        // The button shows its colour and names it, or says why it does not apply.
        const QColor colour = colourOf(row, value);
        const QString tip = QObject::tr("%1: %2 (%3)")
                                .arg(QString::fromUtf8(row.label), hexName(colour, row.alpha),
                                     enabled ? QObject::tr("click to choose")
                                             : QString::fromUtf8(row.disabledNote));
        if (button->toolTip() != tip) {
            button->setIcon(colourSwatch(colour, button->iconSize()));
            button->setToolTip(tip);
        }
    }
}

// Gives the list the entries, unless it has them already.
void refill(QComboBox* combo, const std::vector<FieldChoice>& choices) {
    bool same = combo->count() == static_cast<int>(choices.size());
    for (int i = 0; same && i < combo->count(); ++i) {
        const FieldChoice& choice = choices[static_cast<std::size_t>(i)];
        same = combo->itemData(i).toInt() == choice.value &&
               combo->itemText(i) == QString::fromStdString(choice.label);
    }
    if (!same) {
        combo->clear();
        for (const FieldChoice& choice : choices) {
            combo->addItem(QString::fromStdString(choice.label), choice.value);
        }
    }
}

}  // namespace

QIcon colourSwatch(const QColor& colour, QSize size) {
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    for (int y = 0; y < size.height(); y += kSwatchSquare) {
        for (int x = 0; x < size.width(); x += kSwatchSquare) {
            const bool dark = (x / kSwatchSquare + y / kSwatchSquare) % 2 == 1;
            painter.fillRect(x, y, kSwatchSquare, kSwatchSquare,
                             dark ? QColor(0x99, 0x99, 0x99) : QColor(0xDD, 0xDD, 0xDD));
        }
    }
    painter.fillRect(pixmap.rect(), colour);
    painter.setPen(QColor(0x60, 0x60, 0x60));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    painter.end();
    return QIcon(pixmap);
}

FieldBinder::FieldBinder(QWidget& window, EditingSession& session, FilePrompts& prompts,
                         std::function<void()> changed)
    : window_(window), session_(session), prompts_(prompts), changed_(std::move(changed)) {
    const std::span<const DocumentField> fields = documentFields();
    controls_.resize(fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        Control& control = controls_[i];
        control.widget = window.findChild<QWidget*>(QString::fromLatin1(fields[i].control));
        if (control.widget == nullptr) {
            qFatal("no control %s", fields[i].control);
        }
        for (QLabel* label : window.findChildren<QLabel*>()) {
            if (label->buddy() == control.widget) {
                control.labels.push_back(label);
            }
        }
        bind(i, control);
    }
}

FieldBinder::~FieldBinder() = default;

void FieldBinder::bind(std::size_t field, Control& control) {
    const DocumentField& row = documentFields()[field];
    const auto set = [this, field](const FieldValue& value) {
        session_.setField(field, value);
        changed_();
    };
    QWidget* widget = control.widget;
    if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
        const QSignalBlocker blocker(spin);
        spin->setRange(row.low, row.high);
        // Every change of the text, typed or stepped; leaving the spin or Enter ends the run.
        QObject::connect(spin, &QSpinBox::textChanged, &window_,
                         [spin, set] { set(static_cast<std::int32_t>(spin->value())); });
        QObject::connect(spin, &QAbstractSpinBox::editingFinished, &window_,
                         [this] { session_.endRun(); });
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        QObject::connect(check, &QCheckBox::clicked, &window_,
                         [check, set] { set(check->isChecked() ? 1 : 0); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        for (const FieldChoice& choice : row.choices()) {
            combo->addItem(QString::fromStdString(choice.label), choice.value);
        }
        combo->setCurrentIndex(0);
        // On the user's choice only, never on a selection set from code.
        QObject::connect(combo, &QComboBox::activated, &window_, [combo, set] {
            bool ok = false;
            const int value = combo->currentData().toInt(&ok);
            if (ok) {
                set(static_cast<std::int32_t>(value));
            }
        });
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // Every edit, typed keys in a row as one undo step until the line is left.
        QObject::connect(edit, &QLineEdit::textEdited, &window_,
                         [set](const QString& text) { set(text.toStdString()); });
        QObject::connect(edit, &QLineEdit::editingFinished, &window_,
                         [this] { session_.endRun(); });
    } else if (auto* button = qobject_cast<QToolButton*>(widget)) {
        QObject::connect(button, &QToolButton::clicked, &window_, [this, &row, set] {
            const FieldValue now = row.read(session_.document());
            if (const std::optional<QColor> colour = prompts_.askColour(
                    &window_, titleOf(row.label), colourOf(row, now), row.alpha)) {
                set(Rgba{toRgb(*colour), static_cast<std::uint8_t>(colour->alpha())});
            }
        });
    } else if (qobject_cast<QGroupBox*>(widget) != nullptr) {
        // One button per choice, found by its caption; every click, also on the button that is
        // already checked, is a change.
        control.buttons = new QButtonGroup(&window_);
        const std::vector<FieldChoice> choices = row.choices();
        for (QAbstractButton* choice : widget->findChildren<QAbstractButton*>()) {
            for (std::size_t i = 0; i < choices.size(); ++i) {
                if (choice->text() == QString::fromStdString(choices[i].label)) {
                    control.buttons->addButton(choice, static_cast<int>(i));
                }
            }
        }
        QObject::connect(
            control.buttons, &QButtonGroup::idClicked, &window_,
            [choices, set](int id) { set(choices[static_cast<std::size_t>(id)].value); });
    }
}

void FieldBinder::show(const Document& document) {
    const std::span<const DocumentField> fields = documentFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const DocumentField& row = fields[i];
        const Control& control = controls_[i];
        const bool enabled = row.isEnabled(document);
        const FieldValue value = row.read(document);
        if (row.choicesFor != nullptr) {
            refill(qobject_cast<QComboBox*>(control.widget),
                   row.choicesFor(document, session_.renderer()));
        }
        if (control.buttons != nullptr) {
            checkButton(control.buttons, row, std::get<std::int32_t>(value));
        } else {
            showValue(row, control.widget, value, enabled);
        }
        if (row.enabled == nullptr) {
            continue;
        }
        control.widget->setEnabled(enabled);
        for (QLabel* label : control.labels) {
            label->setEnabled(enabled);
        }
        // A colour button's tool tip says it already; others, and their labels, say it here.
        if (*row.disabledNote != '\0' && row.kind != FieldKind::Colour) {
            const QString note = enabled ? QString() : QString::fromUtf8(row.disabledNote);
            control.widget->setToolTip(note);
            for (QLabel* label : control.labels) {
                label->setToolTip(note);
            }
        }
    }
}

}  // namespace vemro
