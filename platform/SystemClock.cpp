#include "platform/SystemClock.h"

#include <QEventLoop>
#include <QTimer>

namespace quillon {

QDateTime SystemClock::Now() const
{
    return QDateTime::currentDateTime();
}

void SystemClock::Pause(int ms)
{
    if (ms <= 0)
        return;
    // A local loop rather than a sleep: paint and timer events keep flowing,
    // while clicks and keys wait until the pause is over.
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace quillon
