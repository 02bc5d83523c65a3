#pragma once
// When a modal window (a dialog, a message box) closes, the window it was
// opened over becomes the active one again, so that its shortcuts work
// without a click. Many window managers do this themselves; without one, or
// after a chain of boxes, the program would be left with no active window.

#include <QObject>

namespace quillon {

class TActiveWindowKeeper final : public QObject {
public:
    // Watches every window of the application while it lives.
    explicit TActiveWindowKeeper(QObject* parent = nullptr);
    ~TActiveWindowKeeper() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace quillon
