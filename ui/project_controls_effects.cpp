// The "Effects" group of the window's controls: fill colour, outline, shadow and distance field.

#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <initializer_list>

#include "ui/effect_colours.h"
#include "ui/project_controls.h"
#include "ui_builder_dialog.h"

namespace vemro {

namespace {

constexpr int kSwatchSquare = 4;

void setValueSilently(QSpinBox* spin, int value) {
    const QSignalBlocker blocker(spin);
    spin->setValue(value);
}

QString hexName(const QColor& colour, bool withAlpha) {
    QString name = colour.name(QColor::HexRgb).toUpper();
    if (withAlpha) {
        name += QStringLiteral("%1").arg(colour.alpha(), 2, 16, QLatin1Char('0')).toUpper();
    }
    return name;
}

// The button shows its colour and names it; with a distance field it is disabled and says why.
void showColour(QToolButton* button, const QColor& colour, bool withAlpha, const QString& what,
                bool field) {
    button->setIcon(colourSwatch(colour, button->iconSize()));
    button->setToolTip(
        field ? QObject::tr("%1: %2 (does not apply to distance fields)")
                    .arg(what, hexName(colour, withAlpha))
              : QObject::tr("%1: %2 (click to choose)").arg(what, hexName(colour, withAlpha)));
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

void ProjectControls::setUpEffects() {
    using E = EffectSettings;
    const struct {
        QSpinBox* spin;
        int low;
        int high;
    } ranges[] = {
        {ui_.outlineWidthSpin, E::kMinOutlineWidth, E::kMaxOutlineWidth},
        {ui_.shadowXSpin, E::kMinShadowOffset, E::kMaxShadowOffset},
        {ui_.shadowYSpin, E::kMinShadowOffset, E::kMaxShadowOffset},
        {ui_.shadowBlurSpin, E::kMinShadowBlur, E::kMaxShadowBlur},
        {ui_.spreadSpin, E::kMinSpread, E::kMaxSpread},
    };
    for (const auto& range : ranges) {
        const QSignalBlocker blocker(range.spin);
        range.spin->setRange(range.low, range.high);
    }
    ui_.effectsNoteLabel->setText(
        QObject::tr("Distance fields are drawn at the texture's size, without colours: "
                    "supersampling, fill, outline and shadow do not apply."));
}

void ProjectControls::showEffects(const EffectSettings& effects) {
    const bool field = effects.distanceField;
    showColour(ui_.fillColourButton, toQColor(effects.fill), false, QObject::tr("Fill colour"),
               field);
    ui_.outlineCheck->setChecked(effects.outline);
    setValueSilently(ui_.outlineWidthSpin, effects.outlineWidth);
    showColour(ui_.outlineColourButton, toQColor(effects.outlineColour), false,
               QObject::tr("Outline colour"), field);
    ui_.shadowCheck->setChecked(effects.shadow);
    setValueSilently(ui_.shadowXSpin, effects.shadowX);
    setValueSilently(ui_.shadowYSpin, effects.shadowY);
    setValueSilently(ui_.shadowBlurSpin, effects.shadowBlur);
    showColour(ui_.shadowColourButton, toQColor(effects.shadowColour, effects.shadowOpacity), true,
               QObject::tr("Shadow colour"), field);
    ui_.distanceFieldCheck->setChecked(effects.distanceField);
    setValueSilently(ui_.spreadSpin, effects.spread);

    // A distance field has no colours, outline or shadow, and is drawn without supersampling.
    for (QWidget* control : std::initializer_list<QWidget*>{
             ui_.fillLabel, ui_.fillColourButton, ui_.outlineCheck, ui_.outlineColourButton,
             ui_.shadowCheck, ui_.shadowColourButton}) {
        control->setEnabled(!field);
    }
    ui_.outlineWidthSpin->setEnabled(!field && effects.outline);
    for (QWidget* control : std::initializer_list<QWidget*>{
             ui_.shadowXSpin, ui_.shadowYSpin, ui_.shadowBlurSpin, ui_.shadowBlurLabel}) {
        control->setEnabled(!field && effects.shadow);
    }
    ui_.spreadSpin->setEnabled(field);
    ui_.effectsNoteLabel->setVisible(field);
    ui_.factorCombo->setEnabled(!field);
    ui_.factorLabel->setEnabled(!field);
    const QString factorNote =
        field ? QObject::tr("Supersampling does not apply to distance fields") : QString();
    ui_.factorCombo->setToolTip(factorNote);
    ui_.factorLabel->setToolTip(factorNote);
}

}  // namespace vemro
