#pragma once

#include "platform/Clock.h"

namespace quillon {

class SystemClock final : public Clock {
public:
    QDateTime Now() const override;
    void Pause(int ms) override;
};

}  // namespace quillon
