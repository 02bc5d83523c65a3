// The update window: its controls and rules, the program list and its
// colours, and the downloads against a real server on 127.0.0.1.

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <QCryptographicHash>

#include "tests/online/OnlineTestSupport.h"
#include "online/UpdateWindow.h"

using namespace quillon;
using namespace quillon::test;

namespace {

const QString kMaker = QStringLiteral("\\Software\\Tarvex\\");
const QString kConnectionText = QStringLiteral(
    "No Active Internet Connection Detected.\r"
    "Please check your connection and try again.");
const QString kManyText = QStringLiteral(
    "Updating this many programs at once may take anywhere from several minutes \r\n"
    "to an hour depending on the speed of your Internet connection.  Are \r\n"
    "you sure you want to continue?");

QString UnableText(const QString& name)
{
    return QStringLiteral("Unable to dowload ") + name +
           QStringLiteral(". Please verify your Internet connection or contact TARVEX for assistance.");
}

class UpdateWindowTest : public OnlineTest {
protected:
    void Register(const QString& subKey, const QString& caption, const QString& exe, const QString& updateDate = {},
                  const QString& path = {}, const QString& exeName = {})
    {
        if (!caption.isEmpty()) WriteValue(kMaker + subKey, QStringLiteral("MenuCaption"), caption);
        if (!exe.isEmpty()) WriteValue(kMaker + subKey, QStringLiteral("UpdateExe"), exe);
        if (!path.isEmpty()) WriteValue(kMaker + subKey, QStringLiteral("Path"), path);
        if (!exeName.isEmpty()) WriteValue(kMaker + subKey, QStringLiteral("ExeName"), exeName);
        if (!updateDate.isEmpty()) WriteValue(kMaker + subKey, QStringLiteral("UpdateDate"), updateDate);
    }

    // The window on show for program files, every program ticked by "All".
    static void ShowEveryProgramTicked(TfrmUpdate& window)
    {
        window.FillProgramList({});
        window.SelectAction(TfrmUpdate::ProgramFiles);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(window.chkAll, Qt::LeftButton);
    }

    // Three programs, all served, and the pricing installer.
    void RegisterThree()
    {
        Register(QStringLiteral("Alpha"), QStringLiteral("ALPHA"), QStringLiteral("alpha.exe"),
                 QStringLiteral("01/01/2024"));
        Register(QStringLiteral("Beta"), QStringLiteral("BETA"), QStringLiteral("beta.exe"),
                 QStringLiteral("01/01/2024"));
        Register(QStringLiteral("Gamma"), QStringLiteral("GAMMA"), QStringLiteral("gamma.exe"),
                 QStringLiteral("01/01/2024"));
        for (const char* name : {"alpha", "beta", "gamma", "pricing"})
            server.Serve(QByteArray("/toolbench/") + name + ".exe", InstallerBody(name));
        ServeSums({"alpha", "beta", "gamma", "pricing"});
    }

    // The server's SHA256SUMS for the installers of these names, as sha256sum
    // writes it; `wrong` names one whose listed sum is not its body's.
    void ServeSums(const QList<QByteArray>& names, const QByteArray& wrong = {})
    {
        QByteArray text;
        for (const QByteArray& name : names) {
            const QByteArray body = name == wrong ? QByteArray("another program") : InstallerBody(name);
            text += QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() + "  " + name + ".exe\n";
        }
        server.Serve("/toolbench/SHA256SUMS", text);
    }

    QStringList Column(const TfrmUpdate& window, int column) const
    {
        QStringList texts;
        for (int row = 0; row < window.sgPrograms->rowCount(); ++row)
            texts << window.sgPrograms->item(row, column)->text();
        return texts;
    }

    QString Updates() const { return common + QStringLiteral("/updates/"); }

    static void ClickRow(TfrmUpdate& window, int row, Qt::KeyboardModifiers modifiers = {})
    {
        const QRect cell = window.sgPrograms->visualRect(window.sgPrograms->model()->index(row, 0));
        QTest::mouseClick(window.sgPrograms->viewport(), Qt::LeftButton, modifiers, cell.center());
    }

    QColor Palette(const TfrmUpdate& window, QPalette::ColorGroup group, QPalette::ColorRole role) const
    {
        return window.sgPrograms->palette().color(group, role);
    }
};

TEST_F(UpdateWindowTest, OpensWithItsControlsInTheirFirstState)
{
    TfrmUpdate window(seams);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tarvex Freshline"));
    EXPECT_EQ(window.size(), QSize(289, 371));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));

    EXPECT_EQ(window.rgAction->title(), QStringLiteral("Select Action:"));
    EXPECT_EQ(window.ActionItem(TfrmUpdate::PricingOnly)->text(), QStringLiteral("Update Pricing &Database Only"));
    EXPECT_EQ(window.ActionItem(TfrmUpdate::ProgramFiles)->text(), QStringLiteral("Update &Program Files"));
    EXPECT_TRUE(window.ActionItem(TfrmUpdate::PricingOnly)->isChecked());
    EXPECT_EQ(window.lblDirections->text(), QStringLiteral("Select program(s) to update:"));
    EXPECT_EQ(window.chkAll->text(), QStringLiteral("Select &All"));
    EXPECT_FALSE(window.chkAll->isEnabled());
    EXPECT_FALSE(window.chkAll->isChecked());
    EXPECT_FALSE(window.sgPrograms->isEnabled());
    EXPECT_EQ(window.sgPrograms->rowCount(), 1);
    EXPECT_EQ(window.sgPrograms->columnCount(), 2);
    EXPECT_EQ(window.sgPrograms->columnWidth(0), 130);
    EXPECT_EQ(window.sgPrograms->columnWidth(1), 130);
    EXPECT_EQ(window.sgPrograms->rowHeight(0), 18);
    EXPECT_FALSE(window.sgPrograms->showGrid());
    EXPECT_EQ(window.sgPrograms->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(window.sgPrograms->selectionMode(), QAbstractItemView::ContiguousSelection);
    EXPECT_EQ(window.sgPrograms->horizontalHeaderItem(0)->text(), QStringLiteral("Program Name"));
    EXPECT_EQ(window.sgPrograms->horizontalHeaderItem(1)->text(), QStringLiteral("Last Update"));
    EXPECT_EQ(Palette(window, QPalette::Disabled, QPalette::Base),
              QGuiApplication::palette().color(QPalette::Active, QPalette::Window));
    EXPECT_EQ(window.chkReminder->text(), QStringLiteral("Run Freshline again in"));
    EXPECT_TRUE(window.chkReminder->isChecked());
    EXPECT_TRUE(window.cboNumDays->isEditable());
    EXPECT_EQ(window.cboNumDays->count(), 60);
    EXPECT_EQ(window.cboNumDays->itemText(0), QStringLiteral("1"));
    EXPECT_EQ(window.cboNumDays->itemText(59), QStringLiteral("60"));
    EXPECT_EQ(window.cboNumDays->currentText(), QStringLiteral("30"));
    EXPECT_EQ(window.Label2->text(), QStringLiteral("days"));
    EXPECT_EQ(window.btnUpdate->text(), QStringLiteral("&Update Now"));
    EXPECT_EQ(window.btnCancel->text(), QStringLiteral("&Cancel"));
    EXPECT_FALSE(window.btnUpdate->icon().isNull());
    // The artwork comes from the program's resources.
    ASSERT_NE(window.Image1->pixmap().isNull(), true);
    EXPECT_EQ(window.Image1->pixmap().size(), QSize(96, 96));
    for (const char* name : {"rgAction", "Image1", "lblDirections", "chkAll", "sgPrograms", "chkReminder", "cboNumDays",
                             "Label2", "btnUpdate", "btnCancel"})
        EXPECT_NE(window.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
}

// In the window's designed size, each action's caption shows whole, and no
// control reaches past the window's edge.
TEST_F(UpdateWindowTest, EveryCaptionFitsTheDesignedSize)
{
    TfrmUpdate window(seams);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.size(), QSize(289, 371));
    for (const TfrmUpdate::Action action : {TfrmUpdate::PricingOnly, TfrmUpdate::ProgramFiles}) {
        const QRadioButton* item = window.ActionItem(action);
        EXPECT_GE(item->width(), item->sizeHint().width()) << item->text().toStdString();
    }
    for (QWidget* control : {static_cast<QWidget*>(window.rgAction), static_cast<QWidget*>(window.Image1),
                             static_cast<QWidget*>(window.chkAll), static_cast<QWidget*>(window.Label2),
                             static_cast<QWidget*>(window.btnCancel)}) {
        const QRect area(control->mapTo(&window, QPoint(0, 0)), control->size());
        EXPECT_TRUE(window.rect().contains(area)) << control->objectName().toStdString();
    }
}

TEST_F(UpdateWindowTest, ListsRegisteredProgramsAndSelectsTheNamedOne)
{
    const QString exeFolder = dir.filePath(QStringLiteral("bender"));
    ASSERT_TRUE(QDir().mkpath(exeFolder));
    QFile exe(exeFolder + QStringLiteral("/bender.bin"));
    ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
    exe.write("program");
    exe.flush();
    ASSERT_TRUE(exe.setFileTime(QDateTime(QDate(2023, 7, 4), QTime(12, 0)), QFileDevice::FileModificationTime));
    exe.close();

    WriteValue(kMaker + QStringLiteral("Freshline"), QStringLiteral("NextUpdate"), QStringLiteral("0"));
    Register(QStringLiteral("Bender"), QStringLiteral("BENDER"), QStringLiteral("bender.exe"), {}, exeFolder,
             QStringLiteral("bender.bin"));
    Register(QStringLiteral("NoInstaller"), QStringLiteral("NOINSTALLER"), {});
    Register(QStringLiteral("Quillon"), QStringLiteral("QUILLON"), QStringLiteral("quillon.exe"),
             QStringLiteral("not yet"));
    Register(QStringLiteral("Gone"), QStringLiteral("GONE"), QStringLiteral("gone.exe"), {},
             dir.filePath(QStringLiteral("nowhere")), QStringLiteral("gone.bin"));

    TfrmUpdate window(seams);
    window.FillProgramList(QStringLiteral("QUILLON"));
    EXPECT_EQ(Column(window, 0),
              (QStringList{QStringLiteral("BENDER"), QStringLiteral("QUILLON"), QStringLiteral("GONE")}));
    EXPECT_EQ(Column(window, 1), (QStringList{QStringLiteral("07/04/2023"), QStringLiteral("not yet"), QString()}));
    EXPECT_EQ(window.SelectionTop(), 1);
    EXPECT_EQ(window.SelectedCount(), 1);

    // Names match exactly; without a match the first row stays selected.
    TfrmUpdate other(seams);
    other.FillProgramList(QStringLiteral("quillon"));
    EXPECT_EQ(other.SelectionTop(), 0);
    EXPECT_EQ(other.SelectedCount(), 1);
}

TEST_F(UpdateWindowTest, WithoutRegistrationsTheListKeepsOneEmptyRow)
{
    TfrmUpdate window(seams);
    window.FillProgramList(QStringLiteral("QUILLON"));
    EXPECT_EQ(window.sgPrograms->rowCount(), 1);
    EXPECT_EQ(Column(window, 0), QStringList{QString()});
    EXPECT_EQ(window.SelectedCount(), 1);
}

TEST_F(UpdateWindowTest, TextColoursFollowSelectionActionAndAge)
{
    // Today is 01/15/2024 at 09:00: 90 days back is 10/17/2023.
    Register(QStringLiteral("A"), QStringLiteral("SELECTED"), QStringLiteral("a.exe"), QStringLiteral("01/01/2020"));
    Register(QStringLiteral("B"), QStringLiteral("DAYS89"), QStringLiteral("b.exe"), QStringLiteral("10/18/2023"));
    Register(QStringLiteral("C"), QStringLiteral("DAYS90"), QStringLiteral("c.exe"), QStringLiteral("10/17/2023"));
    Register(QStringLiteral("D"), QStringLiteral("OLDER"), QStringLiteral("d.exe"), QStringLiteral("1/2/2020"));
    Register(QStringLiteral("E"), QStringLiteral("NODATE"), QStringLiteral("e.exe"), QStringLiteral("soon"));
    TfrmUpdate window(seams);
    window.FillProgramList(QStringLiteral("SELECTED"));

    const QColor highlight = Palette(window, QPalette::Active, QPalette::HighlightedText);
    const QColor grey = Palette(window, QPalette::Disabled, QPalette::Text);
    const QColor text = Palette(window, QPalette::Active, QPalette::Text);
    const QColor red(255, 0, 0);
    ASSERT_NE(grey, text);

    struct Expectation {
        TfrmUpdate::Action action;
        QList<QColor> rows;
    };
    const Expectation expectations[] = {
        {TfrmUpdate::ProgramFiles, {highlight, text, red, red, text}},
        {TfrmUpdate::PricingOnly, {highlight, grey, grey, grey, grey}},
    };
    for (const Expectation& e : expectations) {
        window.SelectAction(e.action);
        for (int row = 0; row < 5; ++row) {
            EXPECT_EQ(window.RowTextColor(row, window.sgPrograms->item(row, 1)->text()), e.rows[row])
                << "action " << e.action << " row " << row;
        }
    }
    // The 90-day line is crossed at midnight.
    window.SelectAction(TfrmUpdate::ProgramFiles);
    clock.SetNow(QDateTime(QDate(2024, 1, 15), QTime(0, 0)));
    EXPECT_EQ(window.RowTextColor(2, QStringLiteral("10/17/2023")), red);
    clock.SetNow(QDateTime(QDate(2024, 1, 14), QTime(23, 59, 59)));
    EXPECT_EQ(window.RowTextColor(2, QStringLiteral("10/17/2023")), text);
}

// The rows are drawn in those colours: a stale row shows red pixels, a fresh one none.
TEST_F(UpdateWindowTest, StaleRowsAreDrawnRed)
{
    Register(QStringLiteral("A"), QStringLiteral("FRESHWWWW"), QStringLiteral("a.exe"), QStringLiteral("10/18/2023"));
    Register(QStringLiteral("B"), QStringLiteral("STALEWWWW"), QStringLiteral("b.exe"), QStringLiteral("10/17/2023"));
    Register(QStringLiteral("C"), QStringLiteral("CURRENT"), QStringLiteral("c.exe"), QStringLiteral("01/01/2024"));
    TfrmUpdate window(seams);
    window.FillProgramList(QStringLiteral("CURRENT"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const auto redPixels = [&window](int row) {
        const QImage image = window.sgPrograms->viewport()->grab().toImage();
        const QRect rowRect = window.sgPrograms->visualRect(window.sgPrograms->model()->index(row, 0))
                                  .united(window.sgPrograms->visualRect(window.sgPrograms->model()->index(row, 1)));
        int count = 0;
        for (int y = rowRect.top(); y <= rowRect.bottom(); ++y) {
            for (int x = rowRect.left(); x <= rowRect.right(); ++x) {
                const QColor pixel = image.pixelColor(x * image.width() / window.sgPrograms->viewport()->width(),
                                                      y * image.height() / window.sgPrograms->viewport()->height());
                if (pixel.red() > 200 && pixel.green() < 80 && pixel.blue() < 80) ++count;
            }
        }
        return count;
    };
    window.SelectAction(TfrmUpdate::ProgramFiles);
    EXPECT_EQ(redPixels(0), 0);
    EXPECT_GT(redPixels(1), 0);
    window.SelectAction(TfrmUpdate::PricingOnly);
    EXPECT_EQ(redPixels(1), 0);
}

TEST_F(UpdateWindowTest, ActionRulesEnableTheListAndKeepTheSelection)
{
    RegisterThree();
    TfrmUpdate window(seams);
    window.FillProgramList(QStringLiteral("BETA"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(window.ActionItem(TfrmUpdate::ProgramFiles), Qt::LeftButton);
    EXPECT_EQ(window.SelectedAction(), TfrmUpdate::ProgramFiles);
    EXPECT_TRUE(window.sgPrograms->isEnabled());
    EXPECT_TRUE(window.chkAll->isEnabled());
    EXPECT_EQ(Palette(window, QPalette::Active, QPalette::Base),
              QGuiApplication::palette().color(QPalette::Active, QPalette::Base));
    EXPECT_EQ(window.SelectionTop(), 1);

    QTest::mouseClick(window.ActionItem(TfrmUpdate::PricingOnly), Qt::LeftButton);
    EXPECT_FALSE(window.sgPrograms->isEnabled());
    EXPECT_FALSE(window.chkAll->isEnabled());
    EXPECT_EQ(Palette(window, QPalette::Disabled, QPalette::Base),
              QGuiApplication::palette().color(QPalette::Active, QPalette::Window));
    EXPECT_EQ(window.SelectionTop(), 1);
    EXPECT_EQ(window.SelectedCount(), 1);
}

TEST_F(UpdateWindowTest, SelectAllAndTheClickThatUnticksIt)
{
    RegisterThree();
    TfrmUpdate window(seams);
    window.FillProgramList(QStringLiteral("ALPHA"));
    window.SelectAction(TfrmUpdate::ProgramFiles);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(window.chkAll, Qt::LeftButton);
    EXPECT_TRUE(window.chkAll->isChecked());
    EXPECT_EQ(window.SelectionTop(), 0);
    EXPECT_EQ(window.SelectedCount(), 3);

    // Unticking it by hand changes nothing else.
    QTest::mouseClick(window.chkAll, Qt::LeftButton);
    EXPECT_FALSE(window.chkAll->isChecked());
    EXPECT_EQ(window.SelectedCount(), 3);

    QTest::mouseClick(window.chkAll, Qt::LeftButton);
    ClickRow(window, 2);
    EXPECT_FALSE(window.chkAll->isChecked());
    EXPECT_EQ(window.SelectionTop(), 2);
    EXPECT_EQ(window.SelectedCount(), 1);

    // A shift-click extends the block of rows.
    ClickRow(window, 0, Qt::ShiftModifier);
    EXPECT_EQ(window.SelectionTop(), 0);
    EXPECT_EQ(window.SelectionBottom(), 2);
}

TEST_F(UpdateWindowTest, TheReminderBoxEnablesTheDays)
{
    TfrmUpdate window(seams);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(window.chkReminder, Qt::LeftButton);
    EXPECT_FALSE(window.cboNumDays->isEnabled());
    QTest::mouseClick(window.chkReminder, Qt::LeftButton);
    EXPECT_TRUE(window.cboNumDays->isEnabled());
}

TEST_F(UpdateWindowTest, ManyProgramsAskFirst)
{
    RegisterThree();
    Register(QStringLiteral("Delta"), QStringLiteral("DELTA"), QStringLiteral("delta.exe"));
    struct Case {
        TfrmUpdate::Action action;
        int first;
        int last;
        std::optional<MessageButton> answer;  // none: no question
        bool result;
    };
    const Case cases[] = {
        {TfrmUpdate::ProgramFiles, 1, 2, std::nullopt, true},
        {TfrmUpdate::ProgramFiles, 0, 2, MessageButton::Yes, true},
        {TfrmUpdate::ProgramFiles, 1, 3, MessageButton::No, false},
        {TfrmUpdate::ProgramFiles, 0, 3, MessageButton::Cancel, false},
        {TfrmUpdate::PricingOnly, 0, 3, std::nullopt, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << ".." << c.last << " action " << c.action);
        messages.Clear();
        TfrmUpdate window(seams);
        window.FillProgramList({});
        window.SelectAction(c.action);
        window.sgPrograms->clearSelection();
        window.sgPrograms->setRangeSelected(QTableWidgetSelectionRange(c.first, 0, c.last, 1), true);
        EXPECT_EQ(window.SelectedCount(), c.last - c.first + 1);
        if (c.answer) messages.QueueAnswer(*c.answer);
        EXPECT_EQ(window.ConfirmManyPrograms(), c.result);
        std::vector<MessageCall> expected;
        if (c.answer) expected = {MessageCall::InformationSound, MessageCall::Question};
        if (!c.result) {
            expected.push_back(MessageCall::InformationSound);
            expected.push_back(MessageCall::Error);
        }
        EXPECT_EQ(Kinds(), expected);
        if (c.answer) {
            EXPECT_EQ(messages.Boxes()[0].text, kManyText);
            EXPECT_EQ(messages.Boxes()[0].icon, MessageIcon::Warning);
            EXPECT_TRUE(messages.Boxes()[0].checkBoxText.isEmpty());
        }
        if (!c.result) {
            EXPECT_EQ(messages.Boxes().back().text, QStringLiteral("Update Cancelled"));
        }
        EXPECT_TRUE(network.calls.empty());
    }
}

TEST_F(UpdateWindowTest, WithoutAConnectionNothingIsDownloaded)
{
    network.connected = false;
    server.Serve("/toolbench/pricing.exe", InstallerBody("pricing"));
    TfrmUpdate window(seams);
    window.show();
    QTest::mouseClick(window.btnUpdate, Qt::LeftButton);
    EXPECT_EQ(Kinds(), (std::vector<MessageCall>{MessageCall::InformationSound, MessageCall::Error}));
    EXPECT_EQ(messages.Boxes()[0].text, kConnectionText);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(server.Requests().isEmpty());
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(UpdateWindowTest, DownloadFolderIsMadeOneLevelDeepOrInTheUsersOwnFolder)
{
    TfrmUpdate window(seams);
    EXPECT_EQ(window.DownloadFolder(), common + QStringLiteral("/updates/"));
    EXPECT_TRUE(FolderExists(common + QStringLiteral("/updates")));

    // A missing shared folder is the installers' to make, not ours.
    const QString missing = dir.filePath(QStringLiteral("missing/Common Files"));
    WriteValue(QString::fromLatin1(kCommonFilesKey), QStringLiteral("Path"), missing);
    EXPECT_EQ(window.DownloadFolder(), missing + QStringLiteral("/updates/"));
    EXPECT_FALSE(FolderExists(missing + QStringLiteral("/updates")));

    // Without a recorded folder, or with an empty one (the file system's
    // root), the user's own folder, made whole.
    for (const bool empty : {false, true}) {
        if (empty)
            WriteValue(QString::fromLatin1(kCommonFilesKey), QStringLiteral("Path"), QString());
        else
            DeleteValue(QString::fromLatin1(kCommonFilesKey), QStringLiteral("Path"));
        const QString own = paths.UserDataFolder() + QStringLiteral("/updates/");
        EXPECT_TRUE(own.startsWith(dir.path() + QLatin1Char('/')));
        EXPECT_EQ(window.DownloadFolder(), own);
        EXPECT_TRUE(FolderExists(own));
        QDir(paths.UserDataFolder()).removeRecursively();
    }
}

TEST_F(UpdateWindowTest, PricingIsDownloadedAnnouncedAndStarted)
{
    const QByteArray body = InstallerBody("pricing");
    server.Serve("/toolbench/pricing.exe", body);
    ServeSums({"pricing"});
    TfrmUpdate window(seams);
    window.show();
    QTest::mouseClick(window.btnUpdate, Qt::LeftButton);

    EXPECT_EQ(server.Requests(), (QList<QByteArray>{"/toolbench/SHA256SUMS", "/toolbench/pricing.exe"}));
    QFile file(Updates() + QStringLiteral("pricing.exe"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), body);
    EXPECT_EQ(Kinds(), (std::vector<MessageCall>{MessageCall::DefaultBeep, MessageCall::Information}));
    EXPECT_EQ(messages.Boxes()[0].text, QStringLiteral("Download Complete.\rClick OK to continue with installation"));
    EXPECT_EQ(shell.Targets(), QStringList{Updates() + QStringLiteral("pricing.exe")});
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);

    // The hourglass and the progress window while it ran, and neither after.
    ASSERT_EQ(network.calls.size(), 2u);
    EXPECT_EQ(network.calls[1].cursorShape, int(Qt::WaitCursor));
    EXPECT_GT(network.calls[1].progressMaximum, 0);
    EXPECT_EQ(network.calls[1].progressValue, network.calls[1].progressMaximum);
    EXPECT_EQ(QDir(Updates()).entryList(QDir::Files), QStringList{"pricing.exe"});  // the list is not kept
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(window.findChild<QProgressDialog*>(), nullptr);
}

TEST_F(UpdateWindowTest, AFailedPricingDownloadKeepsTheWindowOpenAndLeavesNoFile)
{
    struct Case {
        const char* what;
        std::function<void(TestHttpServer&)> serve;
    };
    const Case cases[] = {
        {"not found", [](TestHttpServer& s) { s.Fail("/toolbench/pricing.exe", 404); }},
        {"server error", [](TestHttpServer& s) { s.Fail("/toolbench/pricing.exe", 500); }},
        {"closed mid-transfer",
         [](TestHttpServer& s) { s.BreakOff("/toolbench/pricing.exe", InstallerBody("pricing")); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.Clear();
        c.serve(server);
        TfrmUpdate window(seams);
        window.show();
        QTest::mouseClick(window.btnUpdate, Qt::LeftButton);
        EXPECT_EQ(Kinds(), (std::vector<MessageCall>{MessageCall::InformationSound, MessageCall::Error}));
        EXPECT_EQ(messages.Boxes()[0].text, UnableText(QStringLiteral("Pricing Database")));
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(shell.opened.empty());
        EXPECT_EQ(QDir(Updates()).entryList(QDir::Files | QDir::Hidden), QStringList());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(UpdateWindowTest, AllProgramsDownloadedAreStartedInTurnThenPricing)
{
    RegisterThree();
    TfrmUpdate window(seams);
    ASSERT_NO_FATAL_FAILURE(ShowEveryProgramTicked(window));
    messages.QueueAnswer(MessageButton::Yes);
    const QDateTime start = clock.Now();
    QTest::mouseClick(window.btnUpdate, Qt::LeftButton);

    EXPECT_EQ(server.Requests(), (QList<QByteArray>{"/toolbench/SHA256SUMS", "/toolbench/alpha.exe", "/toolbench/beta.exe",
                                                    "/toolbench/gamma.exe", "/toolbench/pricing.exe"}));
    EXPECT_EQ(shell.Targets(),
              (QStringList{Updates() + QStringLiteral("alpha.exe"), Updates() + QStringLiteral("beta.exe"),
                           Updates() + QStringLiteral("gamma.exe"), Updates() + QStringLiteral("pricing.exe")}));
    ASSERT_EQ(shell.opened.size(), 4u);
    EXPECT_EQ(start.secsTo(shell.opened[0].at), 0);
    EXPECT_EQ(start.secsTo(shell.opened[1].at), 10);
    EXPECT_EQ(start.secsTo(shell.opened[2].at), 20);
    EXPECT_EQ(start.secsTo(shell.opened[3].at), 40);
    EXPECT_EQ(clock.Pauses(), (std::vector<int>{10'000, 10'000, 10'000, 10'000}));
    for (const char* name : {"Alpha", "Beta", "Gamma"})
        EXPECT_EQ(ReadValue(kMaker + QString::fromLatin1(name), QStringLiteral("UpdateDate")),
                  QStringLiteral("01/15/2024"))
            << name;

    const std::vector<MessageRecord> boxes = messages.Boxes();
    ASSERT_EQ(boxes.size(), 2u);  // the many-programs question and the summary
    EXPECT_EQ(boxes[1].kind, MessageCall::Information);
    EXPECT_EQ(boxes[1].text,
              QStringLiteral("Updated files have been downloaded\rClick OK to continue with installation"));
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_FALSE(window.isVisible());
    for (const DownloadCall& call : network.calls)
        EXPECT_EQ(call.cursorShape, int(Qt::WaitCursor)) << call.url.toString().toStdString();
}

TEST_F(UpdateWindowTest, AFirstFailedProgramStopsTheDownloadsButNotThePricing)
{
    RegisterThree();
    server.Fail("/toolbench/alpha.exe", 404);
    TfrmUpdate window(seams);
    ASSERT_NO_FATAL_FAILURE(ShowEveryProgramTicked(window));
    messages.QueueAnswer(MessageButton::Yes);
    QTest::mouseClick(window.btnUpdate, Qt::LeftButton);

    EXPECT_EQ(server.Requests(),
              (QList<QByteArray>{"/toolbench/SHA256SUMS", "/toolbench/alpha.exe", "/toolbench/pricing.exe"}));
    const std::vector<MessageRecord> boxes = messages.Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[1].kind, MessageCall::Error);
    EXPECT_EQ(boxes[1].text, UnableText(QStringLiteral("ALPHA")));
    EXPECT_EQ(boxes[2].kind, MessageCall::Information);
    EXPECT_EQ(boxes[2].text, QStringLiteral("Some files were not downloaded\r"
                                            "Click OK to install the files which were successfully downloaded\r"
                                            "and contact TARVEX for assistance with the others"));
    EXPECT_EQ(shell.Targets(), QStringList{Updates() + QStringLiteral("pricing.exe")});
    EXPECT_EQ(clock.Pauses(), std::vector<int>{10'000});
    for (const char* name : {"Alpha", "Beta", "Gamma"})
        EXPECT_EQ(ReadValue(kMaker + QString::fromLatin1(name), QStringLiteral("UpdateDate")),
                  QStringLiteral("01/01/2024"))
            << name;
    EXPECT_FALSE(QFileInfo::exists(Updates() + QStringLiteral("alpha.exe")));
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_FALSE(window.isVisible());
}

// A file whose sum is not the listed one is deleted, reported and never
// started; the others of the update still are.
TEST_F(UpdateWindowTest, AnInstallerWhoseSumDiffersIsDeletedAndNotStarted)
{
    RegisterThree();
    ServeSums({"alpha", "beta", "gamma", "pricing"}, "beta");
    TfrmUpdate window(seams);
    ASSERT_NO_FATAL_FAILURE(ShowEveryProgramTicked(window));
    messages.QueueAnswer(MessageButton::Yes);
    QTest::mouseClick(window.btnUpdate, Qt::LeftButton);

    EXPECT_EQ(shell.Targets(),
              (QStringList{Updates() + QStringLiteral("alpha.exe"), Updates() + QStringLiteral("gamma.exe"),
                           Updates() + QStringLiteral("pricing.exe")}));
    EXPECT_FALSE(QFileInfo::exists(Updates() + QStringLiteral("beta.exe")));
    const std::vector<MessageRecord> boxes = messages.Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2].kind, MessageCall::Error);
    EXPECT_EQ(boxes[2].text, QStringLiteral("beta.exe from ") + server.Address() +
                                 QStringLiteral("/toolbench/ does not match the SHA-256 sum the server lists for it "
                                                "in SHA256SUMS.\rThe file was deleted and not started."));
    EXPECT_EQ(ReadValue(kMaker + QStringLiteral("Beta"), QStringLiteral("UpdateDate")), QStringLiteral("01/01/2024"));
    EXPECT_EQ(ReadValue(kMaker + QStringLiteral("Gamma"), QStringLiteral("UpdateDate")), QStringLiteral("01/15/2024"));

    // Pricing alone with a wrong sum: nothing starts, the window stays open.
    messages.Clear();
    shell.opened.clear();
    ServeSums({"pricing"}, "pricing");
    TfrmUpdate pricing(seams);
    pricing.show();
    QTest::mouseClick(pricing.btnUpdate, Qt::LeftButton);
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_FALSE(QFileInfo::exists(Updates() + QStringLiteral("pricing.exe")));
    EXPECT_EQ(Kinds(), (std::vector<MessageCall>{MessageCall::InformationSound, MessageCall::Error}));
    EXPECT_TRUE(pricing.isVisible());
}

// Without a list the user is asked once per update, in a box that names the
// files and where they came from; no starts nothing, yes starts them all.
TEST_F(UpdateWindowTest, WithoutAListOfSumsTheUserIsAskedOnce)
{
    for (const MessageButton answer : {MessageButton::No, MessageButton::Yes}) {
        SCOPED_TRACE(answer == MessageButton::Yes ? "yes" : "no");
        messages.Clear();
        shell.opened.clear();
        RegisterThree();
        server.Fail("/toolbench/SHA256SUMS", 404);
        TfrmUpdate window(seams);
        window.FillProgramList({});
        window.SelectAction(TfrmUpdate::ProgramFiles);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        ClickRow(window, 0);
        ClickRow(window, 1, Qt::ShiftModifier);
        ASSERT_EQ(window.SelectedCount(), 2);
        messages.QueueAnswer(answer);
        QTest::mouseClick(window.btnUpdate, Qt::LeftButton);

        const std::vector<MessageRecord> boxes = messages.Boxes();
        ASSERT_EQ(boxes.size(), 2u);  // the summary, then the one question
        EXPECT_EQ(boxes[1].kind, MessageCall::Question);
        EXPECT_EQ(boxes[1].text,
                  QStringLiteral("The server lists no SHA-256 sums (SHA256SUMS) for its files, so these downloaded "
                                 "files cannot be checked before they are started:\r\ralpha.exe\rbeta.exe\r"
                                 "pricing.exe\r\rfrom ") +
                      server.Address() + QStringLiteral("/toolbench/\r\rStart them anyway?"));
        if (answer == MessageButton::Yes)
            EXPECT_EQ(shell.Targets(),
                      (QStringList{Updates() + QStringLiteral("alpha.exe"), Updates() + QStringLiteral("beta.exe"),
                                   Updates() + QStringLiteral("pricing.exe")}));
        else
            EXPECT_TRUE(shell.opened.empty());
    }
}

TEST_F(UpdateWindowTest, CancelClosesWithoutDownloading)
{
    TfrmUpdate window(seams);
    window.show();
    QTest::mouseClick(window.btnCancel, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_TRUE(server.Requests().isEmpty());
}

}  // namespace
