#include "ui/shortcut_priority.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

namespace vemro {

ShortcutPriority::ShortcutPriority(QWidget* window) : QObject(window), window_(window) {}

void ShortcutPriority::install(QWidget* window) {
    auto* filter = new ShortcutPriority(window);
    for (QWidget* control : window->findChildren<QWidget*>()) {
        control->installEventFilter(filter);
    }
}

bool ShortcutPriority::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride) {
        return false;
    }
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QAction* action : window_->findChildren<QAction*>()) {
        if (action->shortcuts().contains(pressed)) {
            // Not accepted: the shortcut map gets the key.
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vemro
