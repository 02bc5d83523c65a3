#pragma once
// The splash window shown at start: the maker's picture, borderless, for at
// least Timer1's interval (3000 ms). It refuses to close while its timer runs.

#include <QWidget>

class QLabel;
class QTimer;

namespace quillon {

class TfrmSplash final : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmSplash(QWidget* parent = nullptr);

    static constexpr int kInterval = 3000;  // ms

    QLabel* Image1;
    QTimer* Timer1;  // running from creation; stops itself when it fires

    // Whether the splash lets itself be closed now.
    bool CloseQuery() const;

    // The timer's handler.
    void Timer1Timer();

protected:
    void closeEvent(QCloseEvent* event) override;
};

// Shows the splash and runs the message loop until the splash lets itself be
// closed; then closes it.
void RunSplash(TfrmSplash& splash);

}  // namespace quillon
