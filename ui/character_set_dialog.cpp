#include "ui/character_set_dialog.h"

#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <algorithm>
#include <utility>

#include "engine/text/unicode_blocks.h"
#include "ui_character_set_dialog.h"

namespace vemro {

namespace {

enum Column { kNameColumn, kRangeColumn, kCountColumn };

QString codeText(char32_t code) {
    return QStringLiteral("U+%1").arg(static_cast<uint>(code), 4, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

CharacterSetDialog::CharacterSetDialog(std::shared_ptr<const std::vector<char32_t>> faceCharacters,
                                       const QString& faceName, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::CharacterSetDialog>()),
      faceCharacters_(std::move(faceCharacters)) {
    ui_->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ui_->buttonBox->button(QDialogButtonBox::Ok)->setText(tr("Add"));
    const QLocale numbers(QLocale::English);
    ui_->everyCharacterCheck->setText(
        tr("Every character of %1 (%2)")
            .arg(faceName, numbers.toString(qulonglong{faceCharacters_->size()})));

    // One row per block, its number in the list as the item's data; the face's count comes
    // from two binary searches in its sorted characters.
    const std::vector<UnicodeBlock>& blocks = unicodeBlocks();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(blocks.size()));
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const UnicodeBlock& block = blocks[i];
        auto* row = new QTreeWidgetItem;
        row->setText(kNameColumn, QString::fromStdString(block.name));
        row->setText(kRangeColumn,
                     codeText(block.first) + QStringLiteral("..") + codeText(block.last));
        row->setText(kCountColumn,
                     numbers.toString(qulonglong{countInBlock(*faceCharacters_, block)}));
        row->setTextAlignment(kCountColumn, Qt::AlignRight | Qt::AlignVCenter);
        row->setData(kNameColumn, Qt::UserRole, static_cast<qulonglong>(i));
        rows.append(row);
    }
    ui_->blockTree->addTopLevelItems(rows);
    // The name takes the room the range and the count leave; those keep their width.
    QHeaderView* header = ui_->blockTree->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(kRangeColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(kCountColumn, QHeaderView::ResizeToContents);

    connect(ui_->blockFilterEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { filterBlocks(text); });
    connect(ui_->blockTree, &QTreeWidget::itemSelectionChanged, this, [this] { updateChoice(); });
    connect(ui_->everyCharacterCheck, &QCheckBox::toggled, this, [this] { updateChoice(); });
    connect(ui_->blockTree, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });
    updateChoice();
    ui_->blockFilterEdit->setFocus();
}

CharacterSetDialog::~CharacterSetDialog() = default;

void CharacterSetDialog::filterBlocks(const QString& text) {
    const QString wanted = text.trimmed();
    for (int i = 0; i < ui_->blockTree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = ui_->blockTree->topLevelItem(i);
        row->setHidden(!row->text(kNameColumn).contains(wanted, Qt::CaseInsensitive));
    }
}

void CharacterSetDialog::updateChoice() {
    // With every character of the face the blocks and the face-only choice have no say.
    const bool every = ui_->everyCharacterCheck->isChecked();
    ui_->blockTree->setEnabled(!every);
    ui_->blockFilterEdit->setEnabled(!every);
    ui_->onlyFaceCheck->setEnabled(!every);
    ui_->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(every || !selectedBlocks().empty());
}

std::vector<std::size_t> CharacterSetDialog::selectedBlocks() const {
    // The selection model's rows, hidden ones included: QTreeWidget::selectedItems leaves out
    // the rows the find field hides.
    std::vector<std::size_t> picked;
    for (const QModelIndex& row : ui_->blockTree->selectionModel()->selectedRows(kNameColumn)) {
        picked.push_back(static_cast<std::size_t>(row.data(Qt::UserRole).toULongLong()));
    }
    std::sort(picked.begin(), picked.end());
    return picked;
}

CharacterSetChoice CharacterSetDialog::choice() const {
    return chooseCharacterSet(*faceCharacters_, selectedBlocks(), ui_->onlyFaceCheck->isChecked(),
                              ui_->everyCharacterCheck->isChecked());
}

}  // namespace vemro
