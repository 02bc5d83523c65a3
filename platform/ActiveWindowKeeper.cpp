#include "platform/ActiveWindowKeeper.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace quillon {

TActiveWindowKeeper::TActiveWindowKeeper(QObject* parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

TActiveWindowKeeper::~TActiveWindowKeeper()
{
    if (QCoreApplication::instance() != nullptr) QCoreApplication::instance()->removeEventFilter(this);
}

bool TActiveWindowKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Hide || !watched->isWidgetType()) return false;
    const auto* closing = static_cast<QWidget*>(watched);
    if (!closing->isWindow() || !closing->isModal() || closing->parentWidget() == nullptr) return false;
    // After the hiding is done: only then does the desktop (or nobody) pick
    // the next active window. One it picked is left alone.
    QPointer<QWidget> below = closing->parentWidget()->window();
    QTimer::singleShot(0, this, [below] {
        const QWidget* active = QApplication::activeWindow();
        if (below.isNull() || !below->isVisible() || (active != nullptr && active->isVisible())) return;
        below->activateWindow();
    });
    return false;
}

}  // namespace quillon
