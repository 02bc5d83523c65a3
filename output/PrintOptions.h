#pragma once
// The Print Options dialog: the user picks what to print (the selected line,
// the current page of the list or the entire list); each print writes its
// data file beside the program and runs its report into the print preview.
// The dialog stays open for further prints; closing it deletes the data files.

#include <QDialog>
#include <QGroupBox>

#include <functional>

#include "output/ReportEngine.h"
#include "output/ResultsView.h"
#include "platform/Seams.h"

class QButtonGroup;
class QPushButton;
class QRadioButton;

namespace quillon {

// A titled group of radio items, one of them chosen.
class TRadioGroup : public QGroupBox {
    Q_OBJECT

public:
    TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);
    int ItemIndex() const;
    void SetItemIndex(int index);
    QRadioButton* Item(int index) const;

private:
    QButtonGroup* buttons_;
};

class TfrmPrintOptions : public QDialog {
    Q_OBJECT

public:
    // Runs a report whose data the dialog has just read: shows the print
    // preview modally over the dialog (the default), or renders it elsewhere.
    using ReportRunner = std::function<void(const TReport& report, QWidget* dialog)>;

    enum Item { CurrentSelection = 0, CurrentPage = 1, EntireList = 2 };

    TfrmPrintOptions(const ResultsView& view, Seams& seams, ReportRunner runReport = {}, QWidget* parent = nullptr);

    TRadioGroup* rgPrintOptions;
    QPushButton* btnPrint;
    QPushButton* btnClose;

    TTextPipeline tplAll;
    TTextPipeline tplSelection;
    TReport rptAll;
    TReport rptSelected;

    void btnPrintClick();
    void btnCloseClick();

    // Each returns true when its report ran.
    bool PrintCurrentSelection();
    bool PrintCurrentPage();
    bool PrintEntireList();

    // The data files' paths in the program's folder.
    QString ListFilePath() const;
    QString SelectedFilePath() const;

protected:
    void showEvent(QShowEvent* event) override;
    // Every way of closing (button, title bar, Escape) ends here.
    void done(int result) override;

private:
    void FormClose();
    bool RunReport(TTextPipeline& pipeline, TReport& report, const QString& path, const QList<QStringList>& records);

    const ResultsView& view_;
    Seams& seams_;
    ReportRunner runReport_;
};

// The main window's Print command: opens the dialog modally and releases it
// when it closes.
void ShowPrintOptions(const ResultsView& view, Seams& seams, QWidget* parent);

}  // namespace quillon
