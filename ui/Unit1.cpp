#include "ui/Unit1.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>

#include "ui/HintTracker.h"
#include "ui/LinkLabel.h"
#include "ui/Links.h"
#include "ui/QtText.h"
#include "ui/QueryPage.h"
#include "ui/ResultsPage.h"
#include "ui/ShortcutRouter.h"
#include "ui/ShowErrors.h"
#include "ui/about.h"
#include "online/uFreshlineDlg.h"
#include "online/uNewsDlg.h"
#include "output/SpreadsheetExport.h"
#include "platform/Seams.h"

namespace quillon {
namespace {

constexpr int kQueryWidth = 390;
constexpr int kQueryHeight = 536;

}  // namespace

TfrmMain::TfrmMain(Seams& seams, QStringList arguments, QWidget* parent)
    : QMainWindow(parent), seams_(seams), session_(seams, std::move(arguments))
{
    BuildWindow();
    ConnectHandlers();
    Guarded([this] { FormCreate(); })();
}

TfrmMain::~TfrmMain() { FormDestroy(); }

void TfrmMain::BuildWindow()
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("QUILLON"));
    setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    setStatusTip(QLatin1String(kMakerNotice));

    Menu.Build(this);
    FreshlineDlg1 = new TFreshlineDlg(seams_, this);
    FreshlineDlg1->SetDefaultProgram(QStringLiteral("QUILLON"));
    NewsDlg1 = new TNewsDlg(seams_, this);

    PageControl1 = new QStackedWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    tsQueryValues = new TQueryValuesPage(seams_.messages, session_.Data().catalogue.BeginFrequencies,
                                         session_.Data().catalogue.EndFrequencies, PageControl1);
    tsResults = new TResultsPage(PageControl1);
    PageControl1->addWidget(tsQueryValues);
    PageControl1->addWidget(tsResults);
    BuildChartPanel();
    setCentralWidget(PageControl1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setStatusTip(QLatin1String(kMakerNotice));
    StatusPanel = new QLabel(StatusBar1);
    StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
    // A long hint is cut at the window's edge; it never widens the window.
    StatusPanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    StatusPanel->setContentsMargins(3, 0, 3, 0);
    StatusBar1->addWidget(StatusPanel, 1);
    setStatusBar(StatusBar1);

    hints_ = new THintTracker(this, StatusPanel);
    shortcuts_ = new TShortcutRouter(this);
    for (QAction* item : Menu.ShortcutItems()) shortcuts_->Add(item);

    resize(kQueryWidth, kQueryHeight);
}

void TfrmMain::ConnectHandlers()
{
    connect(tsQueryValues->btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(tsResults->Button1, &QPushButton::clicked, this, &QWidget::close);
    connect(Menu.Exit1, &QAction::triggered, this, &QWidget::close);
    connect(Menu.About1, &QAction::triggered, this, [this] { About1Click(); });
    connect(Menu.Freshline1, &QAction::triggered, this, [this] { Freshline1Click(); });
    connect(Menu.ViewLatestNewsFromTarvex1, &QAction::triggered, this, [this] { ViewLatestNewsFromTarvex1Click(); });
    connect(tsResults->btnNewQuery, &QPushButton::clicked, this, [this] { btnNewQueryClick(); });
    connect(Menu.NewQuery1, &QAction::triggered, this, [this] { btnNewQueryClick(); });
    connect(tsQueryValues->btnSearch, &QPushButton::clicked, this, Guarded([this] { btnSearchClick(); }));
    connect(Menu.GetTransmissionLines1, &QAction::triggered, this, Guarded([this] { btnSearchClick(); }));
    connect(tsQueryValues->Image1, &TLinkLabel::clicked, this, [this] { Image1Click(); });
    connect(tsResults->Image2, &TLinkLabel::clicked, this, [this] { Image1Click(); });
    connect(tsQueryValues->lblEmail, &TLinkLabel::clicked, this, [this] { lblEmailClick(); });
    connect(tsResults->lblemail2, &TLinkLabel::clicked, this, [this] { lblEmailClick(); });
    ConnectResultsHandlers();
    ConnectSettingsHandlers();
    ConnectOutputHandlers();
    ConnectAnalysisHandlers();
    ConnectChartHandlers();
}

void TfrmMain::ShowErrorsOf(const std::function<void()>& handler) { ShowErrors(seams_.messages, handler); }

// The start-up sequence. Each missing piece is reported and start-up goes
// on; an error while reading or parsing the files ends it, and the window
// opens with whatever was done before.
void TfrmMain::FormCreate()
{
    ShowPage(kQueryValuesPage);
    const TSession::DataFolderReading dataFolder = session_.ReadDataFolder();
    for (const QString& error : dataFolder.Errors) seams_.messages.Error(error);
    const bool catalogueLoaded = session_.LoadData(dataFolder.Folder);
    if (!catalogueLoaded)
        seams_.messages.Error(session_.MissingFilesText());
    else if (session_.HasArguments())
        ApplyCommandLine();
    else
        FillQueryLists();
    session_.ReleaseConnectorNames();
    tsQueryValues->btnSearch->setEnabled(catalogueLoaded);
    if (session_.HasArguments() && !terminated_) btnSearchClick();
}

void TfrmMain::FillQueryLists()
{
    TQueryValuesPage& page = *tsQueryValues;
    const Catalogue& catalogue = session_.Data().catalogue;
    auto fill = [](QComboBox* box, const std::vector<std::string>& values) {
        for (const std::string& value : values) box->addItem(FromEngine(value));
    };
    fill(page.cbxBeginningFrequency, catalogue.BeginFrequencies);
    fill(page.cbxEndingFrequency, catalogue.EndFrequencies);
    fill(page.cbxConnector, catalogue.ConnectorTypeNames);
    fill(page.cbxConnector2, catalogue.ConnectorTypeNames);
    for (QComboBox* box : {page.cbxConnector, page.cbxConnector2, page.cbxBeginningFrequency, page.cbxEndingFrequency})
        box->setCurrentIndex(0);
    LoadSettings();
}

void TfrmMain::FormActivate()
{
    // Both report their own failures; a first start stores both reminders'
    // first dates in one write of the store.
    ReminderWrites firstRun;
    FreshlineDlg1->CheckReminder(&firstRun);
    NewsDlg1->CheckReminder(&firstRun);
    firstRun.Commit(seams_);
}

void TfrmMain::FormDestroy()
{
    SaveSettings();
    // The lists and the catalogue are members: they go with the window.
}

void TfrmMain::btnSearchClick() { Search(); }

void TfrmMain::ShowPage(int page)
{
    // Only a page that was not on show runs its set-up: a search from the
    // results page refills the grid and leaves the rest of the page alone.
    const bool anew = PageControl1->currentIndex() != page;
    PageControl1->setCurrentIndex(page);
    // Only the page on show decides the window's smallest size.
    for (int i = 0; i < PageControl1->count(); ++i) {
        const QSizePolicy::Policy policy = i == page ? QSizePolicy::Preferred : QSizePolicy::Ignored;
        PageControl1->widget(i)->setSizePolicy(policy, policy);
    }
    // Settle the window's smallest size now, before a page set-up resizes it.
    PageControl1->updateGeometry();
    layout()->invalidate();
    layout()->activate();
    if (!isVisible() || !anew) return;  // the page's set-up runs when the window shows
    if (page == kQueryValuesPage)
        tsQueryValuesShow();
    else
        tsResultsShow();
}

int TfrmMain::CurrentPage() const { return PageControl1->currentIndex(); }

void TfrmMain::tsQueryValuesShow()
{
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    resize(kQueryWidth, kQueryHeight);
    CentreOnScreen();
    setWindowTitle(QStringLiteral("Select Query Values"));
    SetMenuForPage(false);
}

void TfrmMain::tsResultsShow()
{
    // Un-maximising comes back to the screen's centre.
    CentreOnScreen();
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    setWindowTitle(QStringLiteral("Query Results"));
    tsResults->HalveDescriptionColumns();
    SetMenuForPage(true);
    const auto count = session_.ResultLines().size();
    tsResults->gbxSpecifications->setTitle(QStringLiteral("Transmission Lines (%1 %2)")
                                               .arg(count)
                                               .arg(count == 1 ? QStringLiteral("Item") : QStringLiteral("Items")));
    grdSpecsClick();
    tsResults->grdSpecs->setFocus();
}

void TfrmMain::btnNewQueryClick() { ShowPage(kQueryValuesPage); }

void TfrmMain::SetMenuForPage(bool results)
{
    Menu.N1->setVisible(results);
    for (QAction* item : {Menu.Print1, Menu.CopyToClipboard1, Menu.SaveQuerySettingsToFile1, Menu.ExportData1,
                          Menu.NewQuery1})
        item->setVisible(results);
    for (QAction* item : {Menu.GetTransmissionLines1, Menu.OpenFile1}) item->setVisible(!results);
    Menu.CurrencySettings1->setEnabled(results);
    Menu.CurrencySettings1->setVisible(session_.HasExchangeRates());
    Menu.ToAMicrosoftExcelFile1->setEnabled(IsExcelRegistered(seams_.Settings()));
    SetChartMenuForPage(results);
}

void TfrmMain::Image1Click() { seams_.shell.Open(QLatin1String(kMakerWebAddress)); }

void TfrmMain::lblEmailClick()
{
    seams_.shell.Open(QStringLiteral("mailto:") + QLatin1String(kSupportEmail) + QStringLiteral("?subject=") +
                      QLatin1String(kSupportMailSubject));
}

void TfrmMain::About1Click()
{
    TfrmAbout frmAbout(this);
    frmAbout.exec();
}

void TfrmMain::Freshline1Click() { FreshlineDlg1->Execute(); }

void TfrmMain::ViewLatestNewsFromTarvex1Click() { NewsDlg1->Execute(); }

void TfrmMain::CentreOnScreen()
{
    const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    const QSize outer = isVisible() ? frameGeometry().size() : size();
    move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!firstShow_ || event->spontaneous()) return;
    firstShow_ = false;
    if (CurrentPage() == kQueryValuesPage)
        tsQueryValuesShow();
    else
        tsResultsShow();
}

void TfrmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Qt activates the window again whenever a modal box or prompt closes;
    // the reminders check once, when the window first becomes active, or a
    // "No" to a prompt would bring it straight back. The check waits until
    // the activation is over, since a prompt takes the activation itself.
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || activated_) return;
    activated_ = true;
    QMetaObject::invokeMethod(this, Guarded([this] { FormActivate(); }), Qt::QueuedConnection);
}

bool TfrmMain::event(QEvent* event)
{
    // The status panel follows the control under the mouse (THintTracker);
    // Qt's own status tips would write over it.
    if (event->type() == QEvent::StatusTip) return true;
    return QMainWindow::event(event);
}

}  // namespace quillon
