#pragma once
// The status bar's panel shows the long hint of the control under the mouse.
// A control's hint is its statusTip; a control without one shows the hint of
// the nearest parent that has one (labels show their group's or the window's).

#include <QObject>
#include <QPointer>

class QLabel;
class QWidget;

namespace quillon {

class THintTracker final : public QObject
{
    Q_OBJECT

public:
    // Watches every widget of `window`; writes into `panel`.
    THintTracker(QWidget* window, QLabel* panel);

    // The hint shown for the widget: its own, else its nearest parent's.
    static QString HintOf(const QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_;
    QPointer<QLabel> panel_;
};

}  // namespace quillon
