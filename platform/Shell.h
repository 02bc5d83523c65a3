#pragma once
// The shell "open" of a file or an address: the desktop starts whatever is
// associated with it and the program does not wait for it.

#include <QString>

namespace quillon {

class Shell {
public:
    virtual ~Shell() = default;
    // target: a local path, or an address with a scheme ("https://...", "mailto:...").
    // True when the desktop accepted the request; callers are free to ignore it.
    virtual bool Open(const QString& target) = 0;
};

}  // namespace quillon
