// The main window's controls, menu, shortcuts, hints, links and pages.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

#include "tests/support/CurrencyTable.h"
#include "ui/HintTracker.h"
#include "tests/ui/Install.h"
#include "ui/LinkLabel.h"
#include "ui/Links.h"
#include "ui/QueryPage.h"
#include "engine/ResultRows.h"
#include "ui/ResultsPage.h"
#include "ui/Unit1.h"

namespace quillon {
namespace {

QString Caption(const QWidget* w)
{
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
    return {};
}

class Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        install.WriteAll();
        window = install.Open();
    }
    void ShowActive()
    {
        window->tsQueryValues->edtVSWR->setFocus();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QWidget* Find(const char* name) const { return window->findChild<QWidget*>(QLatin1String(name)); }

    Install install;
    std::unique_ptr<TfrmMain> window;
};

struct ControlRow {
    const char* name;
    const char* className;
    const char* caption;  // nullptr: not checked
    const char* hint;     // "" for none (the hint shown then is a parent's)
    int checked;          // -1: not a check box / radio button
};

TEST_F(Window, ControlsCarryTheirNamesCaptionsHintsAndStates)
{
    const ControlRow rows[] = {
        {"Label7", "QLabel", "Query\n   By", "", -1},
        {"chkFrequency", "QCheckBox", "", "Query by Frequency", 1},
        {"Label1", "QLabel", "Beginning Frequency", "", -1},
        {"cbxBeginningFrequency", "QComboBox", nullptr, "Select Beginning Frequency", -1},
        {"Label9", "QLabel", "MHz", "", -1},
        {"Label2", "QLabel", "Ending Frequency", "", -1},
        {"cbxEndingFrequency", "QComboBox", nullptr, "Select Ending Frequency", -1},
        {"chkInsertionLoss", "QCheckBox", "", "Query by Maximum Insertion Loss", 0},
        {"Label4", "QLabel", "Maximum Insertion Loss:", "", -1},
        {"edtMaxLoss", "QLineEdit", "0", "Enter A Maximum Insertion Loss", -1},
        {"Label8", "QLabel", "dB", "", -1},
        {"Label5", "QLabel", "Length:", "", -1},
        {"edtLength", "QLineEdit", "0", "Enter A Length", -1},
        {"rbMeters", "QRadioButton", "Meters", "Units = Meters", 0},
        {"rbFeet", "QRadioButton", "Feet", "Units = Feet", 1},
        {"chkConnector", "QCheckBox", "", "Query by Connector #1", 0},
        {"Label6", "QLabel", "Connector #1", "", -1},
        {"cbxConnector", "QComboBox", nullptr, "Select Connector Type", -1},
        {"chkConnector2", "QCheckBox", "", "Query by Connector #2", 0},
        {"Label3", "QLabel", "Connector #2", "", -1},
        {"cbxConnector2", "QComboBox", nullptr, "Select Connector Type", -1},
        {"Label11", "QLabel", "VSWR", "", -1},
        {"edtVSWR", "QLineEdit", "1.1", "Enter VSWR for Derated Power Calculation", -1},
        {"Image1", "quillon::TLinkLabel", nullptr, kMakerWebAddress, -1},
        {"GroupBox1", "QGroupBox", "Cable Type:", kMakerNotice, -1},
        {"chkAir", "QCheckBox", "Air Coax", "Air Coaxial", 1},
        {"chkFoam", "QCheckBox", "Foam Coax", "Foam Coaxial", 1},
        {"chkWaveguide", "QCheckBox", "Elliptical Waveguide", "Elliptical Waveguide", 1},
        {"chkBraided", "QCheckBox", "Braided Cable", "Braided Cable", 1},
        {"btnClose", "QPushButton", "E&xit", "Exit", -1},
        {"btnSearch", "QPushButton", "Click For &Transmission Lines", "Get Selected Transmission Lines", -1},
        {"ProgressBar1", "QProgressBar", nullptr, "Progress", -1},
        {"lblEmail", "quillon::TLinkLabel", "Questions or Comments? email: support@tarvex.example",
         "email questions and comments", -1},
        // Results page.
        {"gbxSpecifications", "QGroupBox", "Transmission Lines (0 Items)", kMakerNotice, -1},
        {"grdSpecs", "QTableView", nullptr, "Transmission Line Specifications", -1},
        {"gbxConnector", "QGroupBox", " Connector #1", kMakerNotice, -1},
        {"lstConnectors", "QListWidget", nullptr, "Transmission Line Connector #1", -1},
        {"GroupBox2", "QGroupBox", " Connector #2 ", kMakerNotice, -1},
        {"lstConnectors2", "QListWidget", nullptr, "Transmission Line Connector #2", -1},
        {"gbxPartNumbers", "QGroupBox", " Connector #1 Part Numbers ", kMakerNotice, -1},
        {"grdConnectors", "QTableView", nullptr, "Connector #1 Information", -1},
        {"GroupBox3", "QGroupBox", " Connector #2 Part Numbers ", kMakerNotice, -1},
        {"grdConnectors2", "QTableView", nullptr, "Connector #2 Information", -1},
        {"Image2", "quillon::TLinkLabel", nullptr, kMakerWebAddress, -1},
        {"lblemail2", "quillon::TLinkLabel", kSupportEmail, "email questions and comments", -1},
        {"btnPrint", "QPushButton", "&Print Results", "Print Query Results", -1},
        {"btnClipboard", "QPushButton", "&Copy to Clipboard", "Copy Transmission Line Data To The Clipboard", -1},
        {"btnNewQuery", "QPushButton", "&New Query", "Select New Query Values", -1},
        {"Button1", "QPushButton", "E&xit", "Exit", -1},
    };
    for (const ControlRow& row : rows) {
        SCOPED_TRACE(row.name);
        const QWidget* w = Find(row.name);
        ASSERT_NE(w, nullptr);
        EXPECT_STREQ(w->metaObject()->className(), row.className);
        if (row.caption != nullptr) {
            EXPECT_EQ(Caption(w), QString::fromUtf8(row.caption));
        }
        EXPECT_EQ(w->statusTip(), QString::fromUtf8(row.hint));
        if (row.checked >= 0) {
            EXPECT_EQ(qobject_cast<const QAbstractButton*>(w)->isChecked(), row.checked == 1);
        }
        // On the results page the hint is the tool tip too.
        if (window->tsResults->isAncestorOf(w)) {
            EXPECT_EQ(w->toolTip(), w->statusTip());
        } else {
            EXPECT_TRUE(w->toolTip().isEmpty());
        }
    }
    EXPECT_EQ(window->statusTip(), QLatin1String(kMakerNotice));
    EXPECT_EQ(window->StatusBar1->statusTip(), QLatin1String(kMakerNotice));
    EXPECT_TRUE(window->tsQueryValues->cbxBeginningFrequency->isEditable());
    EXPECT_FALSE(window->tsQueryValues->cbxConnector->isEditable());
    EXPECT_EQ(window->tsQueryValues->ProgressBar1->minimum(), 0);
    EXPECT_EQ(window->tsQueryValues->ProgressBar1->maximum(), 100);
    EXPECT_EQ(window->PageControl1->currentIndex(), TfrmMain::kQueryValuesPage);
}

TEST_F(Window, ResultGridsHaveTheirColumns)
{
    // Typed here, not taken from the program's own tables.
    const struct {
        const char* heading;
        int width;
    } columns[] = {
        {"Part Number", 77},
        {"Frequency Band (MHz)", 104},
        {"Description", 242},
        {"Mid Band Frequency (MHz)", 105},
        {"Attenuation (dB/100 ft)", 86},
        {"Attenuation (dB/100m)", 96},
        {"Total Attenuation (dB)", 103},
        {"Insertion Loss (dB)", 69},
        {"Efficiency (%)", 76},
        {"Peak Power (kW)", 72},
        {"Avg. Power (kW)", 73},
        {"VSWR Derated Avg. Pwr. (kW)", 84},
        {"List Price Per Foot ($US)", 80},
        {"List Price Per Meter ($US)", 75},
    };
    const TResultsPage& page = *window->tsResults;
    ASSERT_EQ(page.SpecsModel->columnCount(), kResultColumns);
    ASSERT_EQ(std::size(columns), static_cast<std::size_t>(kResultColumns));
    for (int c = 0; c < kResultColumns; ++c) {
        EXPECT_EQ(page.SpecsModel->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(),
                  QLatin1String(columns[c].heading));
        const int designed = columns[c].width;
        const QHeaderView* header = page.grdSpecs->horizontalHeader();
        if (c == 8 || c == 11) {
            // These headings stay on one line: their columns widen to them when the font needs it.
            const QString heading = page.SpecsModel->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            EXPECT_GE(header->sectionSize(c), std::max(designed, QFontMetrics(header->font()).horizontalAdvance(heading)));
        } else {
            EXPECT_EQ(header->sectionSize(c), designed) << c;
        }
    }
    EXPECT_TRUE(page.grdSpecs->horizontalHeader()->font().bold());
    EXPECT_GE(page.grdSpecs->horizontalHeader()->height(), 41);
    EXPECT_EQ(page.grdSpecs->verticalHeader()->defaultSectionSize(), 27);
    EXPECT_EQ(page.SpecsModel->rowCount(), 0);
    EXPECT_EQ(page.grdConnectors->horizontalHeader()->sectionSize(1), 271);
    EXPECT_EQ(page.grdConnectors2->horizontalHeader()->sectionSize(2), 75);
    EXPECT_EQ(page.ConnectorsModel->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Price ($US)"));

    // The model shows what a filling writes, and only the current row highlighted.
    page.SpecsModel->Change([](ResultTable& table) {
        table.Rows.resize(2);
        table.Rows[0][0] = "QF-2";
        table.Rows[1][0] = "QA-1";
    });
    page.SpecsModel->SetHighlightedRow(1);
    EXPECT_EQ(page.SpecsModel->data(page.SpecsModel->index(1, 0), Qt::DisplayRole).toString(), QStringLiteral("QA-1"));
    EXPECT_EQ(page.SpecsModel->data(page.SpecsModel->index(1, 3), Qt::BackgroundRole).value<QColor>(),
              QColor(Qt::yellow));
    EXPECT_FALSE(page.SpecsModel->data(page.SpecsModel->index(0, 3), Qt::BackgroundRole).isValid());
    EXPECT_EQ(page.SpecsModel->data(page.SpecsModel->index(0, 0), Qt::ForegroundRole).value<QColor>(),
              QColor(0, 0, 128));
}

TEST_F(Window, TabOrderFollowsTheFormAndSkipsCheckBoxesAndExit)
{
    QStringList order;
    QWidget* w = window->tsQueryValues->cbxBeginningFrequency;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty() && window->tsQueryValues->isAncestorOf(w))
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != window->tsQueryValues->cbxBeginningFrequency && order.size() < 20);
    EXPECT_EQ(order, (QStringList{"cbxBeginningFrequency", "cbxEndingFrequency", "edtMaxLoss", "edtLength", "rbMeters",
                                  "rbFeet", "cbxConnector", "cbxConnector2", "btnSearch", "edtVSWR"}));
}

struct MenuRow {
    const char* name;
    const char* caption;
    const char* shortcut;
};

TEST_F(Window, FileMenuItemsInOrderWithTheirShortcuts)
{
    const MenuRow rows[] = {
        {"OpenFile1", "&Open File", "Ctrl+O"},
        {"SaveSettingsOnExit1", "Save Settings On Exit", "Ctrl+S"},
        {"N1", "", ""},
        {"Print1", "Print", "Ctrl+P"},
        {"CopyToClipboard1", "Copy To Clipboard", "Ctrl+C"},
        {"SaveQuerySettingsToFile1", "Save Query Settings To File", "Ctrl+Shift+S"},
        {"ExportData1", "Export Data", ""},
        {"N2", "", ""},
        {"GetTransmissionLines1", "Get Transmission Lines", "Ctrl+G"},
        {"NewQuery1", "New Query", "Ctrl+Q"},
        {"N3", "", ""},
        {"ViewLatestNewsFromTarvex1", "View Latest News From &Tarvex", "Ctrl+A"},
        {"Freshline1", "Freshline", "Ctrl+U"},
        {"Exit1", "Exit", "Ctrl+X"},
    };
    const QList<QAction*> items = window->Menu.File1->actions();
    ASSERT_EQ(items.size(), static_cast<qsizetype>(std::size(rows)));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].name);
        EXPECT_EQ(items[static_cast<qsizetype>(i)]->objectName(), QLatin1String(rows[i].name));
        EXPECT_EQ(items[static_cast<qsizetype>(i)]->text(), QLatin1String(rows[i].caption));
        EXPECT_EQ(items[static_cast<qsizetype>(i)]->shortcut(), QKeySequence(QLatin1String(rows[i].shortcut)));
    }
    EXPECT_EQ(window->Menu.File1->title(), QStringLiteral("&File"));
    EXPECT_TRUE(window->Menu.SaveSettingsOnExit1->isCheckable());
    EXPECT_TRUE(window->Menu.SaveSettingsOnExit1->isChecked());
    EXPECT_EQ(window->Menu.ExportData1Menu->actions()[0]->text(), QStringLiteral("To A Microsoft Excel File"));
    EXPECT_EQ(window->Menu.ExportData1Menu->actions()[1]->text(), QStringLiteral("To An HTML File"));
    EXPECT_EQ(window->Menu.About1->text(), QStringLiteral("About"));
    EXPECT_EQ(window->Menu.About1->menu(), nullptr);
}

TEST_F(Window, CurrencyMenuHoldsEveryItemInMenuOrder)
{
    const TMainMenu& menu = window->Menu;
    EXPECT_EQ(menu.CurrencySettings1->text(), QStringLiteral("Currency Settings"));
    EXPECT_FALSE(menu.CurrencySettings1->isVisible());  // hidden until the window shows with rates
    // The table typed in the tests, not the program's own.
    const auto& currencies = test::kCurrencyTable;
    ASSERT_EQ(menu.CurrencyItems.size(), currencies.size());
    for (std::size_t i = 0; i < currencies.size(); ++i) {
        const QAction* item = menu.CurrencyItems[i];
        SCOPED_TRACE(currencies[i].item);
        EXPECT_EQ(item->objectName(), QLatin1String(currencies[i].item));
        EXPECT_EQ(item->text(), QLatin1String(currencies[i].caption));
        EXPECT_EQ(TMainMenu::TagOf(item), currencies[i].tag);
        EXPECT_EQ(item->data().toInt(), currencies[i].tag);
        EXPECT_TRUE(item->isCheckable());
        EXPECT_EQ(item->isChecked(), item == menu.US1);
        // The item sits in its submenu, which sits directly in "Currency Settings".
        const auto* owner = qobject_cast<const QMenu*>(item->parent());
        ASSERT_NE(owner, nullptr);
        const QString submenu = QLatin1String(currencies[i].submenu);
        EXPECT_EQ(owner->title(), submenu.isEmpty() ? QStringLiteral("Currency Settings") : submenu);
        EXPECT_TRUE(owner->actions().contains(const_cast<QAction*>(item)));
    }
    QStringList submenus;
    for (const QAction* a : menu.CurrencySettings1Menu->actions())
        if (a->menu() != nullptr) submenus << a->text();
    EXPECT_EQ(submenus, (QStringList{"Africa", "Asia", "Europe", "Middle East", "North America", "Oceania",
                                     "South America"}));
    EXPECT_EQ(menu.CurrencySettings1Menu->actions().front(), menu.USDollarsUSD1);
}

// Which menu items each page shows is the table of MenuStates (ResultsPageTest).
TEST_F(Window, EachPageSetsTheWindowsTitleSizeAndPlace)
{
    ShowActive();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Select Query Values"));
    window->ShowPage(TfrmMain::kResultsPage);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Query Results"));
    EXPECT_TRUE(window->isMaximized());

    // "New Query" brings back the 390 x 536 window, centred.
    QTest::mouseClick(window->tsResults->btnNewQuery, Qt::LeftButton);
    EXPECT_EQ(window->CurrentPage(), TfrmMain::kQueryValuesPage);
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->size(), QSize(390, 536));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Select Query Values"));
    const QPoint centre = window->screen()->availableGeometry().center();
    EXPECT_LE((window->frameGeometry().center() - centre).manhattanLength(), 2);
}

TEST_F(Window, ShortcutsFireOnceAlsoForHiddenItemsAndOverTheFocusedBox)
{
    ShowActive();
    const TMainMenu& m = window->Menu;
    ASSERT_FALSE(m.Print1->isVisible());
    ASSERT_TRUE(m.GetTransmissionLines1->isVisible());
    QSignalSpy print(m.Print1, &QAction::triggered);
    // Only the keys count here: the Print Options dialog would wait for a user.
    QObject::disconnect(m.Print1, &QAction::triggered, window.get(), nullptr);
    QSignalSpy copy(m.CopyToClipboard1, &QAction::triggered);
    QSignalSpy search(m.GetTransmissionLines1, &QAction::triggered);
    QSignalSpy saveQuery(m.SaveQuerySettingsToFile1, &QAction::triggered);

    QLineEdit* box = window->tsQueryValues->edtLength;
    box->setFocus();
    box->setText(QStringLiteral("250"));
    box->selectAll();
    QTest::keyClick(box, Qt::Key_P, Qt::ControlModifier);  // hidden on this page
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);  // the menu's copy, not the box's
    QTest::keyClick(box, Qt::Key_G, Qt::ControlModifier);  // shown on this page
    QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier);  // toggles "Save Settings On Exit"
    EXPECT_EQ(print.count(), 1);
    EXPECT_EQ(copy.count(), 1);
    EXPECT_EQ(search.count(), 1);
    EXPECT_EQ(saveQuery.count(), 1);
    EXPECT_FALSE(m.SaveSettingsOnExit1->isChecked());
    EXPECT_EQ(box->text(), QStringLiteral("250"));

    // On the results page the query page's items hide and keep their keys.
    window->ShowPage(TfrmMain::kResultsPage);
    ASSERT_FALSE(m.GetTransmissionLines1->isVisible());
    QTest::keyClick(window->tsResults->grdSpecs, Qt::Key_G, Qt::ControlModifier);
    QTest::keyClick(window->tsResults->grdSpecs, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(search.count(), 2);
    EXPECT_EQ(print.count(), 2);
    // Ctrl+Q is "New Query".
    QTest::keyClick(window->tsResults->grdSpecs, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(window->CurrentPage(), TfrmMain::kQueryValuesPage);
}

TEST_F(Window, StatusBarShowsTheHintUnderTheMouse)
{
    const TQueryValuesPage& page = *window->tsQueryValues;
    auto enter = [](QWidget* w) {
        QEvent event(QEvent::Enter);
        QApplication::sendEvent(w, &event);
    };
    auto leave = [](QWidget* w) {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(w, &event);
    };
    enter(page.chkAir);
    EXPECT_EQ(window->StatusPanel->text(), QStringLiteral("Air Coaxial"));
    leave(page.chkAir);  // back over the group
    EXPECT_EQ(window->StatusPanel->text(), QLatin1String(kMakerNotice));
    enter(page.Label4);  // a label shows its parents' hint
    EXPECT_EQ(window->StatusPanel->text(), QLatin1String(kMakerNotice));
    enter(page.edtVSWR);
    EXPECT_EQ(window->StatusPanel->text(), QStringLiteral("Enter VSWR for Derated Power Calculation"));
    enter(window->tsResults->grdSpecs);
    EXPECT_EQ(window->StatusPanel->text(), QStringLiteral("Transmission Line Specifications"));
}

TEST_F(Window, LinksOpenTheWebSiteAndTheSupportMail)
{
    ShowActive();
    QTest::mouseClick(window->tsQueryValues->Image1, Qt::LeftButton);
    QTest::mouseClick(window->tsQueryValues->lblEmail, Qt::LeftButton);
    window->ShowPage(TfrmMain::kResultsPage);
    QTest::mouseClick(window->tsResults->Image2, Qt::LeftButton);
    QTest::mouseClick(window->tsResults->lblemail2, Qt::LeftButton);
    const QString mail = QStringLiteral("mailto:support@tarvex.example?subject=QUILLON");
    const QString site = QStringLiteral("http://www.tarvex.example");
    EXPECT_EQ(install.fakes.shell.Opened(), (QStringList{site, mail, site, mail}));
    for (const QWidget* link : std::initializer_list<const QWidget*>{
             window->tsQueryValues->Image1, window->tsQueryValues->lblEmail, window->tsResults->Image2,
             window->tsResults->lblemail2})
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor) << link->objectName().toStdString();
}

TEST_F(Window, ExitButtonsAndItemCloseTheWindow)
{
    for (int way = 0; way < 3; ++way) {
        ShowActive();
        if (way == 0) QTest::mouseClick(window->tsQueryValues->btnClose, Qt::LeftButton);
        if (way == 1) window->Menu.Exit1->trigger();
        if (way == 2) window->tsResults->Button1->click();
        EXPECT_FALSE(window->isVisible()) << way;
    }
}

}  // namespace
}  // namespace quillon
