#include "ui/fallback_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace vemro {

FallbackDialog::FallbackDialog(QWidget* parent, std::vector<FallbackFace> fallbacks,
                               std::vector<std::string> typefaces,
                               std::function<std::optional<QString>()> askFile)
    : QDialog(parent),
      fallbacks_(std::move(fallbacks)),
      typefaces_(std::move(typefaces)),
      askFile_(std::move(askFile)) {
    setWindowTitle(tr("Fallbacks"));
    setObjectName(QStringLiteral("fallbackDialog"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(tr("Characters the face lacks are drawn from the first of these that has "
                      "them."),
                   this));
    auto* row = new QHBoxLayout;
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("fallbackList"));
    row->addWidget(list_, 1);
    auto* buttons = new QVBoxLayout;
    const auto button = [&](const QString& text, const char* name, auto action) {
        auto* made = new QPushButton(text, this);
        made->setObjectName(QString::fromLatin1(name));
        connect(made, &QPushButton::clicked, this, action);
        buttons->addWidget(made);
        return made;
    };
    button(tr("Add Typeface..."), "addTypefaceButton", [this] { addTypeface(); });
    button(tr("Add Font File..."), "addFileButton", [this] { addFile(); });
    removeButton_ = button(tr("Remove"), "removeFallbackButton", [this] { remove(); });
    upButton_ = button(tr("Move Up"), "moveUpButton", [this] { move(-1); });
    downButton_ = button(tr("Move Down"), "moveDownButton", [this] { move(1); });
    buttons->addStretch(1);
    row->addLayout(buttons);
    layout->addLayout(row, 1);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int) { showList(-2); });
    showList(0);
}

void FallbackDialog::showList(int selected) {
    if (selected != -2) {
        list_->blockSignals(true);
        list_->clear();
        for (const FallbackFace& face : fallbacks_) {
            list_->addItem(
                face.fontFile.empty()
                    ? QString::fromStdString(face.faceName)
                    : tr("%1 (face %2)")
                          .arg(QFileInfo(QString::fromStdString(face.fontFile)).fileName())
                          .arg(face.faceIndex));
        }
        list_->setCurrentRow(std::min(selected, static_cast<int>(fallbacks_.size()) - 1));
        list_->blockSignals(false);
    }
    const int row = list_->currentRow();
    removeButton_->setEnabled(row >= 0);
    upButton_->setEnabled(row > 0);
    downButton_->setEnabled(row >= 0 && row + 1 < static_cast<int>(fallbacks_.size()));
}

void FallbackDialog::addTypeface() {
    QStringList names;
    for (const std::string& name : typefaces_) {
        names.push_back(QString::fromStdString(name));
    }
    bool ok = false;
    // Editable: faces the list leaves out (a colour font of bitmaps) can be typed by name.
    const QString name =
        QInputDialog::getItem(this, tr("Add Typeface"), tr("Typeface"), names, 0, true, &ok);
    if (ok && !name.trimmed().isEmpty()) {
        fallbacks_.push_back(FallbackFace{name.trimmed().toStdString()});
        showList(static_cast<int>(fallbacks_.size()) - 1);
    }
}

void FallbackDialog::addFile() {
    if (const std::optional<QString> path = askFile_()) {
        fallbacks_.push_back(FallbackFace{"", path->toStdString(), 0});
        showList(static_cast<int>(fallbacks_.size()) - 1);
    }
}

void FallbackDialog::remove() {
    const int row = list_->currentRow();
    if (row >= 0) {
        fallbacks_.erase(fallbacks_.begin() + row);
        showList(row);
    }
}

void FallbackDialog::move(int step) {
    const int row = list_->currentRow();
    const int to = row + step;
    if (row >= 0 && to >= 0 && to < static_cast<int>(fallbacks_.size())) {
        std::swap(fallbacks_[static_cast<std::size_t>(row)],
                  fallbacks_[static_cast<std::size_t>(to)]);
        showList(to);
    }
}

}  // namespace vemro
