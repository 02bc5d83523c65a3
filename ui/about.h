#pragma once
// The About box: the maker's logo, the product name, the price list's terms
// of sale and "&Ok". Any click closes it. Two hidden pictures: one upper-case
// letter typed shows the first; the code word typed with Alt held shows the
// second.

#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quillon {

class TfrmAbout final : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    static constexpr int kClientWidth = 290;
    static constexpr int kClientHeight = 376;
    // The character that brings up the first hidden picture.
    static constexpr QChar kFirstViewLetter = QLatin1Char('Q');
    // Typed as key releases with Alt held, it brings up the second one.
    static constexpr char kCodeWord[] = "WREN";

    // The terms, one entry per line of Memo1.
    static QStringList TermsLines();

    QLabel* Image1;  // the maker's logo
    QLabel* Label1;  // the product name
    QPlainTextEdit* Memo1;  // the terms
    QPushButton* Button1;   // "&Ok"
    QLabel* Image2;  // first hidden picture
    QLabel* Image3;  // second hidden picture

    // The code word typed so far.
    const QString& CodeBuffer() const { return codeBuffer_; }

    // Handlers.
    void FormClick();
    // A character typed in the box, the memo or the button.
    void FormKeyPress(const QString& text, Qt::KeyboardModifiers modifiers);
    // A key released in the box, the memo or the button.
    void FormKeyUp(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void FitTermsFont();
    void CentreOnScreen();
    void ShowFirstView();
    void ShowSecondView();

    QString codeBuffer_;
};

}  // namespace quillon
