#pragma once

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class AddCharactersDialog;
}

namespace vemro {

// Tools > Add characters: one line of text to type the characters into. The text counts
// however the dialog closes (OK, Cancel, Escape, the close box).
class AddCharactersDialog : public QDialog {
    Q_OBJECT

public:
    explicit AddCharactersDialog(QWidget* parent = nullptr);
    ~AddCharactersDialog() override;

    QString characters() const;

private:
    std::unique_ptr<Ui::AddCharactersDialog> ui_;
};

}  // namespace vemro
