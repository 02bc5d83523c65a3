#pragma once
// The time of day and the program's deliberate pauses.

#include <QDateTime>

namespace quillon {

class Clock {
public:
    virtual ~Clock() = default;
    // The current local date and time.
    virtual QDateTime Now() const = 0;
    // Holds the caller for ms milliseconds. Windows keep painting meanwhile,
    // but take no user input.
    virtual void Pause(int ms) = 0;
};

}  // namespace quillon
