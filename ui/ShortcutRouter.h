#pragma once
// Menu shortcuts of the main window that work whatever the menu shows and
// whatever control has the focus: a File item hidden on one page keeps its key,
// and the key wins over the focused control's own use of it (Ctrl+C in an
// entry box runs the menu's copy). Qt alone would disable a hidden action's
// shortcut and let an entry box keep Ctrl+C.

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QKeyEvent;
class QWidget;

namespace quillon {

class TShortcutRouter final : public QObject
{
    Q_OBJECT

public:
    explicit TShortcutRouter(QWidget* window);

    // The action fires on its shortcut while a control of the window has the
    // keyboard; it is triggered as a menu click would (an explicitly disabled
    // action does not fire).
    void Add(QAction* action);

    // The action whose shortcut the key event presses, if any.
    QAction* ActionFor(const QKeyEvent& event) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_;
    QList<QPointer<QAction>> actions_;
};

}  // namespace quillon
