#pragma once

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class AddCharactersDialog;
}

namespace vemro {

// One line of text to type characters into: for Tools > Add characters, where the text counts
// however the dialog closes (OK, Cancel, Escape, the close box), and for Tools > Remove
// characters, where only OK or Enter counts.
class AddCharactersDialog : public QDialog {
    Q_OBJECT

public:
    enum class Purpose { Add, Remove };

    explicit AddCharactersDialog(QWidget* parent = nullptr, Purpose purpose = Purpose::Add);
    ~AddCharactersDialog() override;

    QString characters() const;

private:
    std::unique_ptr<Ui::AddCharactersDialog> ui_;
};

}  // namespace vemro
