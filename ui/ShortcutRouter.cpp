#include "ui/ShortcutRouter.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace quillon {

TShortcutRouter::TShortcutRouter(QWidget* window) : QObject(window), window_(window)
{
    qApp->installEventFilter(this);
}

void TShortcutRouter::Add(QAction* action) { actions_.append(action); }

QAction* TShortcutRouter::ActionFor(const QKeyEvent& event) const
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (event.key() == 0 || event.key() == Qt::Key_unknown) return nullptr;
    const QKeySequence pressed(QKeyCombination(modifiers, Qt::Key(event.key())));
    for (const QPointer<QAction>& action : actions_)
        if (action && !action->shortcut().isEmpty() && action->shortcut() == pressed) return action;
    return nullptr;
}

bool TShortcutRouter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
    if (!watched->isWidgetType() || !window_) return false;
    auto* widget = static_cast<QWidget*>(watched);
    // Keys typed into a popup menu or a modal box belong to it.
    if (widget->window() != window_ || QApplication::activePopupWidget() != nullptr) return false;
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != window_) return false;

    auto* keyEvent = static_cast<QKeyEvent*>(event);
    QAction* action = ActionFor(*keyEvent);
    if (action == nullptr) return false;
    if (type == QEvent::ShortcutOverride) {
        // Claim the key for the key press that follows, so that neither the
        // focused control nor Qt's own shortcut map acts on it.
        event->accept();
        return true;
    }
    action->trigger();
    return true;
}

}  // namespace quillon
