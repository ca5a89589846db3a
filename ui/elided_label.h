#pragma once

#include <QLabel>
#include <QString>

namespace vemro {

// A one-line label whose text never decides how wide it is: it takes the width its layout
// gives it, shows as much of the text as fits with "…" where it is cut, and shows the whole
// text as its tool tip when it is cut. text() stays the whole text.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // The text as it shows at the label's present width.
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace vemro
