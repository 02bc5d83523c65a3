#pragma once
// A label that acts as a link: hand cursor, and a click signal on release of
// the left button over it (the logo and the mail labels).

#include <QLabel>

namespace quillon {

class TLinkLabel final : public QLabel
{
    Q_OBJECT

public:
    explicit TLinkLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

}  // namespace quillon
