#include "output/PrintOptions.h"

#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>

#include "output/PrintData.h"
#include "output/ReportLayouts.h"

namespace quillon {

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this))
{
    constexpr int kItemLeft = 12;
    constexpr int kFirstItemTop = 28;
    constexpr int kItemPitch = 36;
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items.at(i), this);
        item->move(kItemLeft, kFirstItemTop + i * kItemPitch);
        item->adjustSize();
        buttons_->addButton(item, i);
    }
}

int TRadioGroup::ItemIndex() const
{
    return buttons_->checkedId();
}

void TRadioGroup::SetItemIndex(int index)
{
    if (QAbstractButton* item = buttons_->button(index)) item->setChecked(true);
}

QRadioButton* TRadioGroup::Item(int index) const
{
    return qobject_cast<QRadioButton*>(buttons_->button(index));
}

TfrmPrintOptions::TfrmPrintOptions(const ResultsView& view, Seams& seams, ReportRunner runReport, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      tplAll(QStringLiteral("tplAll"), ListPipelineFields()),
      tplSelection(QStringLiteral("tplSelection"), SelectionPipelineFields()),
      view_(view),
      seams_(seams),
      runReport_(std::move(runReport))
{
    setObjectName(QStringLiteral("frmPrintOptions"));
    setWindowTitle(QStringLiteral("Print Options"));
    setFixedSize(163, 248);

    rgPrintOptions = new TRadioGroup(
        QStringLiteral("Select Printing Criteria:"),
        {QStringLiteral("Current Selection"), QStringLiteral("Current Page"), QStringLiteral("Entire List")}, this);
    rgPrintOptions->setObjectName(QStringLiteral("rgPrintOptions"));
    rgPrintOptions->setGeometry(8, 8, 147, 142);
    rgPrintOptions->SetItemIndex(CurrentSelection);

    btnPrint = new QPushButton(QStringLiteral("&Print"), this);
    btnPrint->setObjectName(QStringLiteral("btnPrint"));
    btnPrint->setGeometry(36, 164, 91, 28);
    btnPrint->setDefault(true);
    btnClose = new QPushButton(QStringLiteral("&Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(36, 204, 91, 28);
    connect(btnPrint, &QPushButton::clicked, this, &TfrmPrintOptions::btnPrintClick);
    connect(btnClose, &QPushButton::clicked, this, &TfrmPrintOptions::btnCloseClick);

    const QImage logo = ReportLogo();
    rptAll = MakeListReport(tplAll, logo);
    rptSelected = MakeSelectedReport(tplSelection, logo);

    if (!runReport_) runReport_ = [](const TReport& report, QWidget* dialog) { RunReportPreview(report, dialog); };
}

// The data files live in the user's data folder: the program's own folder
// is not the user's to write on this platform.
QString TfrmPrintOptions::ListFilePath() const
{
    return QDir(seams_.paths.UserDataFolder()).filePath(QString::fromLatin1(kListDataFile));
}

QString TfrmPrintOptions::SelectedFilePath() const
{
    return QDir(seams_.paths.UserDataFolder()).filePath(QString::fromLatin1(kSelectedDataFile));
}

void TfrmPrintOptions::showEvent(QShowEvent* event)
{
    rgPrintOptions->SetItemIndex(CurrentSelection);
    if (!event->spontaneous()) {
        if (QScreen* screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QDialog::showEvent(event);
}

void TfrmPrintOptions::btnPrintClick()
{
    switch (rgPrintOptions->ItemIndex()) {
        case CurrentSelection:
            PrintCurrentSelection();
            break;
        case CurrentPage:
            PrintCurrentPage();
            break;
        case EntireList:
            PrintEntireList();
            break;
        default:
            break;
    }
}

void TfrmPrintOptions::btnCloseClick()
{
    close();
}

void TfrmPrintOptions::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TfrmPrintOptions::FormClose()
{
    // A file that will not go stays; there is nothing the user could do.
    tplAll.Close();
    QFile::remove(ListFilePath());
    tplSelection.Close();
    QFile::remove(SelectedFilePath());
}

bool TfrmPrintOptions::RunReport(TTextPipeline& pipeline, TReport& report, const QString& path,
                                 const QList<QStringList>& records)
{
    UserFolder(seams_.paths);  // the first print of a new user makes it
    if (const auto failure = WriteDataFile(path, records)) {
        seams_.messages.Error(DataFileErrorText(*failure));
        return false;
    }
    QString error;
    pipeline.SetFileName(path);
    pipeline.SetWrittenRecords(records);
    if (!pipeline.Open(&error)) {
        pipeline.Close();
        seams_.messages.Error(error);
        return false;
    }
    report.printedAt = seams_.clock.Now();
    runReport_(report, this);
    pipeline.Close();
    return true;
}

bool TfrmPrintOptions::PrintEntireList()
{
    const GridSnapshot grid = view_.SpecsGrid();
    const int rowCount = static_cast<int>(grid.rows.size());
    const int pages = EntireListPages(rowCount);
    if (pages >= kPagesThatAsk && !seams_.messages.Confirmation(LongReportQuestion(pages))) return false;
    QList<int> rows;
    for (int r = 0; r < rowCount; ++r) rows << r;
    return RunReport(tplAll, rptAll, ListFilePath(), ListRecords(grid, rows));
}

bool TfrmPrintOptions::PrintCurrentPage()
{
    const GridSnapshot grid = view_.SpecsGrid();
    const QList<int> rows = CurrentPageRows(static_cast<int>(grid.rows.size()), grid.currentRow);
    return RunReport(tplAll, rptAll, ListFilePath(), ListRecords(grid, rows));
}

bool TfrmPrintOptions::PrintCurrentSelection()
{
    return RunReport(tplSelection, rptSelected, SelectedFilePath(), {SelectedRecord(view_)});
}

void ShowPrintOptions(const ResultsView& view, Seams& seams, QWidget* parent)
{
    TfrmPrintOptions dialog(view, seams, {}, parent);
    dialog.exec();
}

}  // namespace quillon
