#include "ui/Unit1.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
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

#include "engine/Errors.h"
#include "ui/HintTracker.h"
#include "ui/LinkLabel.h"
#include "ui/Links.h"
#include "engine/TextFile.h"
#include "ui/QtText.h"
#include "ui/QueryPage.h"
#include "ui/ResultsPage.h"
#include "ui/ShortcutRouter.h"
#include "ui/ShowErrors.h"
#include "ui/about.h"
#include "online/uFreshlineDlg.h"
#include "online/uNewsDlg.h"
#include "platform/Seams.h"
#include "platform/SettingsKeys.h"
#include "platform/TextFile.h"

namespace quillon {
namespace {

constexpr int kQueryWidth = 390;
constexpr int kQueryHeight = 536;

bool IsFile(const QString& path) { return QFileInfo(path).isFile(); }

std::vector<std::string> ReadLines(const QString& path)
{
    TextLines read = ReadTextLines(FilePathForEngine(path));
    if (read.Error) throw QuillonError(ToEngine(QStringLiteral("Cannot open file \"%1\"").arg(path)));
    return std::move(read.Lines);
}

}  // namespace

TfrmMain::TfrmMain(Seams& seams, QStringList arguments, QWidget* parent)
    : QMainWindow(parent), Arguments(std::move(arguments)), seams_(seams)
{
    BuildWindow();
    ConnectHandlers();
    FormCreate();
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
    tsQueryValues = new TQueryValuesPage(seams_.messages, catalogue.BeginFrequencies, catalogue.EndFrequencies,
                                         PageControl1);
    tsResults = new TResultsPage(PageControl1);
    PageControl1->addWidget(tsQueryValues);
    PageControl1->addWidget(tsResults);
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
    connect(tsQueryValues->btnSearch, &QPushButton::clicked, this, [this] { btnSearchClick(); });
    connect(Menu.GetTransmissionLines1, &QAction::triggered, this, [this] { btnSearchClick(); });
    connect(tsQueryValues->Image1, &TLinkLabel::clicked, this, [this] { Image1Click(); });
    connect(tsResults->Image2, &TLinkLabel::clicked, this, [this] { Image1Click(); });
    connect(tsQueryValues->lblEmail, &TLinkLabel::clicked, this, [this] { lblEmailClick(); });
    connect(tsResults->lblemail2, &TLinkLabel::clicked, this, [this] { lblEmailClick(); });
    ConnectResultsHandlers();
    ConnectSettingsHandlers();
    ConnectOutputHandlers();
}

// The start-up sequence. Each missing piece is reported and start-up goes
// on; an error while reading or parsing the files ends it, and the window
// opens with whatever was done before.
void TfrmMain::FormCreate()
{
    ShowPage(kQueryValuesPage);
    bool catalogueLoaded = false;
    ShowErrors(seams_.messages, [&] {
        const QString dataFolder = ReadDataFolder();
        if (LoadCatalogueFiles(dataFolder, catalogueLoaded)) {
            if (!Arguments.isEmpty())
                ApplyCommandLine();
            else
                FillQueryLists();
        }
        // The connector names only fed the two connector boxes.
        catalogue.ConnectorTypeNames.clear();
        catalogue.ConnectorTypeNames.shrink_to_fit();
        tsQueryValues->btnSearch->setEnabled(catalogueLoaded);
        if (!Arguments.isEmpty() && !terminated_) btnSearchClick();
    });
}

QString TfrmMain::ReadDataFolder()
{
    SettingsStore store = seams_.Settings();
    const QString key = QString::fromLatin1(kCommonFilesKey);
    if (store.KeyExists(key))
        store.OpenKey(key, false);
    else
        seams_.messages.Error(QStringLiteral("Unable to locate Registry Key"));

    QString dataFolder;
    const QString value = QString::fromLatin1(kDataFolderValue);
    if (store.HasOpenKey() && store.ValueExists(value)) {
        const std::optional<QString> text = store.ReadString(value);
        if (!text) throw QuillonError(ToEngine(store.LastError()));
        dataFolder = *text;
    } else {
        seams_.messages.Error(QStringLiteral("Unable to create path from Registry"));
    }
    store.CloseKey();
    return dataFolder;
}

bool TfrmMain::LoadCatalogueFiles(const QString& dataFolder, bool& catalogueLoaded)
{
    const QString programFolder = seams_.paths.ProgramFolder();
    const QString cataloguePath = programFolder + QStringLiteral("/Freq_TLine_Connectors.dat");
    // An empty data folder names the root folder, where the price list is looked for then.
    const QString priceListPath = dataFolder + QStringLiteral("/M_lom.dat");
    if (!IsFile(cataloguePath) || !IsFile(priceListPath)) {
        seams_.messages.Error(
            QStringLiteral("One or more files needed to run this application are missing.\r"
                           "Please check the appropriate directories for 'M_Lom.dat' and "
                           "'Freq_TLine_Connectors.dat'."));
        return false;
    }

    const QString ratesPath = programFolder + QStringLiteral("/xcngrate.dat");
    exchangeRates.HasExchangeRates = IsFile(ratesPath);
    if (exchangeRates.HasExchangeRates) exchangeRates.Lines = ReadLines(ratesPath);

    catalogueLoaded = true;
    const std::vector<std::string> rows = ReadLines(cataloguePath);
    PriceListLines = PriceList(ReadLines(priceListPath));
    // Also collects the band edges (in ascending numeric order) and the
    // connector names; a bad row ends start-up here.
    BuildCatalogue(rows, catalogue);
    return true;
}

void TfrmMain::FillQueryLists()
{
    TQueryValuesPage& page = *tsQueryValues;
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
    // Both report their own failures.
    FreshlineDlg1->CheckReminder();
    NewsDlg1->CheckReminder();
}

void TfrmMain::FormDestroy()
{
    SaveSettings();
    // The lists and the catalogue are members: they go with the window.
}

void TfrmMain::btnSearchClick()
{
    ShowErrors(seams_.messages, [this] { Search(); });
}

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
    const auto count = ResultLines.size();
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
    Menu.CurrencySettings1->setVisible(HasExchangeRates());
    Menu.ToAMicrosoftExcelFile1->setEnabled(IsExcelRegistered());
}

bool TfrmMain::IsExcelRegistered() const
{
    return seams_.Settings().ClassesRootKeyExists(QStringLiteral("Excel.Application"));
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
    QMetaObject::invokeMethod(this, [this] { FormActivate(); }, Qt::QueuedConnection);
}

bool TfrmMain::event(QEvent* event)
{
    // The status panel follows the control under the mouse (THintTracker);
    // Qt's own status tips would write over it.
    if (event->type() == QEvent::StatusTip) return true;
    return QMainWindow::event(event);
}

}  // namespace quillon
