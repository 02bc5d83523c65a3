#include "ui/HintTracker.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QWidget>

namespace quillon {

THintTracker::THintTracker(QWidget* window, QLabel* panel) : QObject(window), window_(window), panel_(panel)
{
    qApp->installEventFilter(this);
}

QString THintTracker::HintOf(const QWidget* widget)
{
    for (; widget != nullptr; widget = widget->parentWidget())
        if (!widget->statusTip().isEmpty()) return widget->statusTip();
    return {};
}

bool THintTracker::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::Enter || type == QEvent::Leave) && watched->isWidgetType() && window_ && panel_) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->window() == window_) {
            // Leaving a control puts the mouse back over its parent; entering a
            // sibling afterwards replaces that at once.
            const QWidget* under = type == QEvent::Enter ? widget : widget->parentWidget();
            panel_->setText(HintOf(under));
        }
    }
    return false;
}

}  // namespace quillon
