#include "ui/add_characters_dialog.h"

#include "ui_add_characters_dialog.h"

namespace vemro {

AddCharactersDialog::AddCharactersDialog(QWidget* parent, Purpose purpose)
    : QDialog(parent), ui_(std::make_unique<Ui::AddCharactersDialog>()) {
    ui_->setupUi(this);
    if (purpose == Purpose::Remove) {
        setWindowTitle(tr("Remove characters"));
        ui_->charactersEdit->setToolTip(tr("Type the characters to take out of the atlas"));
    }
    // No help button in the title bar, and a height that does not grow.
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ui_->charactersEdit->setFocus();
}

AddCharactersDialog::~AddCharactersDialog() = default;

QString AddCharactersDialog::characters() const {
    return ui_->charactersEdit->text();
}

}  // namespace vemro
