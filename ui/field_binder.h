#pragma once

#include <functional>
#include <vector>

class QButtonGroup;
class QLabel;
class QWidget;

namespace vemro {

class EditingSession;
class FilePrompts;
struct Document;

// Binds each row of the binding table (documentFields) to the window's control of its name,
// once: a spin gets the row's range, a list its choices (a group box its buttons, one per
// choice, by caption), and what the user does with the control becomes the row's change of the
// session's document, after which changed() is called. show() has every bound control show the
// document, setting only what differs so that nothing the user is typing is disturbed, and
// enables each control (and the labels naming it) as its row's rule says.
class FieldBinder {
public:
    // window holds the controls, and is where colour questions are asked.
    FieldBinder(QWidget& window, EditingSession& session, FilePrompts& prompts,
                std::function<void()> changed);
    ~FieldBinder();

    void show(const Document& document);

private:
    struct Control {
        QWidget* widget = nullptr;
        QButtonGroup* buttons = nullptr;  // for a group box of buttons
        std::vector<QLabel*> labels;      // the labels whose buddy it is
    };

    void bind(std::size_t field, Control& control);

    QWidget& window_;
    EditingSession& session_;
    FilePrompts& prompts_;
    std::function<void()> changed_;
    std::vector<Control> controls_;
};

}  // namespace vemro
