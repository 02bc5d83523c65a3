#pragma once
// The news window: the spotlight item and the latest press-release headlines,
// each opening its story in the web browser when clicked, and the choice of
// when to be offered the news again.

#include <QDialog>
#include <QPlainTextEdit>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace quillon {

struct Seams;

// A read-only text that reports a click once the caret has followed it.
class ClickableMemo : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit ClickableMemo(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class TfrmNews : public QDialog {
    Q_OBJECT

public:
    explicit TfrmNews(Seams& seams, QWidget* parent = nullptr);
    ~TfrmNews() override;

    // Controls, named as their objectName.
    QLabel* Label3 = nullptr;
    QLabel* Image1 = nullptr;
    ClickableMemo* memSpotlight = nullptr;
    QLabel* Label1 = nullptr;
    ClickableMemo* memNews = nullptr;
    QCheckBox* chkDisplayAgain = nullptr;
    QComboBox* cboNumDays = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* btnClose = nullptr;

    // "headline=address" entries: 0 the spotlight, then the headlines.
    QStringList Links;

    // Event handlers.
    void memSpotlightClick();
    void memNewsClick();
    void chkDisplayAgainClick();
    void btnCloseClick();

private:
    void BuildControls();
    // Opens the value of the first entry named name (case ignored), when it
    // is a web address.
    void OpenEntryNamed(const QString& name);

    Seams& seams_;
};

// Entry 0's name as the one line of the spotlight, every further entry's name
// as one line of the headlines.
void FillMemos(QPlainTextEdit& news, QPlainTextEdit& spotlight, const QStringList& links);

}  // namespace quillon
