// The main window's "Effects" group: each change of a switch, size or colour is a change of the
// project (one undo step, a run of typing or arrow keys in a spin one step), rebuilt at once.

#include <QCheckBox>
#include <QSpinBox>
#include <QToolButton>

#include "ui/builder_dialog.h"
#include "ui/effect_colours.h"
#include "ui/file_prompts.h"
#include "ui/project_controls.h"
#include "ui_builder_dialog.h"

namespace vemro {

namespace {

// Merge keys of the effect spins, apart from those of the other controls.
enum EffectSpin {
    kOutlineWidthSpin = 100,
    kShadowXSpin,
    kShadowYSpin,
    kShadowBlurSpin,
    kSpreadSpin,
};

}  // namespace

void BuilderDialog::connectEffects() {
    const auto routeCheck = [this](QCheckBox* check, const QString& text,
                                   void (*store)(EffectSettings&, bool)) {
        connect(check, &QCheckBox::clicked, this, [this, check, text, store] {
            const bool on = check->isChecked();
            editEffects(text, [on, store](EffectSettings& effects) { store(effects, on); });
        });
    };
    routeCheck(ui_->outlineCheck, tr("Outline"),
               [](EffectSettings& effects, bool on) { effects.outline = on; });
    routeCheck(ui_->shadowCheck, tr("Shadow"),
               [](EffectSettings& effects, bool on) { effects.shadow = on; });
    routeCheck(ui_->distanceFieldCheck, tr("Distance field"),
               [](EffectSettings& effects, bool on) { effects.distanceField = on; });

    const auto routeSpin = [this](QSpinBox* spin, int control, const QString& text,
                                  void (*store)(EffectSettings&, std::int32_t)) {
        connect(spin, &QSpinBox::textChanged, this, [this, spin, control, text, store] {
            const std::int32_t value = spin->value();
            editEffects(
                text, [value, store](EffectSettings& effects) { store(effects, value); },
                MergeKey{control});
        });
        connect(spin, &QAbstractSpinBox::editingFinished, this, [this] { history_->endRun(); });
    };
    routeSpin(ui_->outlineWidthSpin, kOutlineWidthSpin, tr("Outline width"),
              [](EffectSettings& effects, std::int32_t value) { effects.outlineWidth = value; });
    routeSpin(ui_->shadowXSpin, kShadowXSpin, tr("Shadow offset"),
              [](EffectSettings& effects, std::int32_t value) { effects.shadowX = value; });
    routeSpin(ui_->shadowYSpin, kShadowYSpin, tr("Shadow offset"),
              [](EffectSettings& effects, std::int32_t value) { effects.shadowY = value; });
    routeSpin(ui_->shadowBlurSpin, kShadowBlurSpin, tr("Shadow blur"),
              [](EffectSettings& effects, std::int32_t value) { effects.shadowBlur = value; });
    routeSpin(ui_->spreadSpin, kSpreadSpin, tr("Distance field spread"),
              [](EffectSettings& effects, std::int32_t value) { effects.spread = value; });

    connect(ui_->fillColourButton, &QToolButton::clicked, this, [this] {
        const EffectSettings& effects = document_.project.effects;
        if (const std::optional<QColor> colour =
                prompts_.askColour(this, tr("Fill Colour"), toQColor(effects.fill), false)) {
            editEffects(tr("Fill colour"),
                        [&colour](EffectSettings& changed) { changed.fill = toRgb(*colour); });
        }
    });
    connect(ui_->outlineColourButton, &QToolButton::clicked, this, [this] {
        const EffectSettings& effects = document_.project.effects;
        if (const std::optional<QColor> colour = prompts_.askColour(
                this, tr("Outline Colour"), toQColor(effects.outlineColour), false)) {
            editEffects(tr("Outline colour"), [&colour](EffectSettings& changed) {
                changed.outlineColour = toRgb(*colour);
            });
        }
    });
    connect(ui_->shadowColourButton, &QToolButton::clicked, this, [this] {
        const EffectSettings& effects = document_.project.effects;
        if (const std::optional<QColor> colour =
                prompts_.askColour(this, tr("Shadow Colour"),
                                   toQColor(effects.shadowColour, effects.shadowOpacity), true)) {
            editEffects(tr("Shadow colour"), [&colour](EffectSettings& changed) {
                changed.shadowColour = toRgb(*colour);
                changed.shadowOpacity = static_cast<std::uint8_t>(colour->alpha());
            });
        }
    });
}

void BuilderDialog::editEffects(const QString& text,
                                const std::function<void(EffectSettings&)>& edit,
                                std::optional<MergeKey> key) {
    editProject(
        text, [&edit](Project& project) { edit(project.effects); }, key);
    // A switch enables or disables the controls that depend on it.
    controls_->showEffects(document_.project.effects);
}

}  // namespace vemro
