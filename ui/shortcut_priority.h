#pragma once

#include <QObject>

class QWidget;

namespace vemro {

// Gives a window's command shortcuts priority over the key bindings of its controls. A line
// edit (also the one inside every spin box) claims the keys it has a binding for before any
// shortcut sees them, by accepting the ShortcutOverride event; with the X11 key bindings Qt
// uses on the xcb platform these include Ctrl+E (end of line) and Ctrl+U besides Ctrl+A and
// Ctrl+Z, so Ctrl+E did nothing while a spin box had the focus. For a key that is the shortcut
// of one of the window's actions, the filter turns the claim down, so the command runs
// whichever control has the focus. Other keys, typing included, reach the controls as before.
class ShortcutPriority : public QObject {
    Q_OBJECT

public:
    // Filters the window's current child widgets; the filter is a child of the window.
    static void install(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ShortcutPriority(QWidget* window);

    QWidget* window_;
};

}  // namespace vemro
