#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/font/font_renderer.h"

class QListWidget;
class QPushButton;

namespace vemro {

// Font > Fallbacks...: the project's fallback faces in order, with buttons to add an installed
// typeface or a font file, remove the selected face and move it up or down.
class FallbackDialog final : public QDialog {
public:
    // askFile gives a font file's path, or nothing when the user cancels.
    FallbackDialog(QWidget* parent, std::vector<FallbackFace> fallbacks,
                   std::vector<std::string> typefaces,
                   std::function<std::optional<QString>()> askFile);

    const std::vector<FallbackFace>& fallbacks() const { return fallbacks_; }

private:
    void addTypeface();
    void addFile();
    void remove();
    void move(int step);
    // Shows the list, keeping `selected` selected.
    void showList(int selected);

    std::vector<FallbackFace> fallbacks_;
    std::vector<std::string> typefaces_;
    std::function<std::optional<QString>()> askFile_;
    QListWidget* list_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QPushButton* upButton_ = nullptr;
    QPushButton* downButton_ = nullptr;
};

}  // namespace vemro
