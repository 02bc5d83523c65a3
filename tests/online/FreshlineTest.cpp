// The update reminder: when it asks, what it stores, and how it hands the
// update window its days and its preselected program.

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "tests/online/OnlineTestSupport.h"
#include "online/uFreshlineDlg.h"
#include "online/uNewsDlg.h"

using namespace quillon;
using namespace quillon::test;

namespace {

const QString kKey = QStringLiteral("\\Software\\Tarvex\\Freshline");
const QString kNext = QStringLiteral("NextUpdate");
const QString kInterval = QStringLiteral("Interval");

const QString kPromptText = QStringLiteral(
    "It appears that you have not updated your pricing database in a while.\r\n"
    "Running the Tarvex Freshline utility will ensure that you have the\r\n"
    "latest pricing information in all of your programs within minutes.\r\n"
    "\r\n"
    "Would you like to run Freshline now?");

class FreshlineTest : public OnlineTest {
protected:
    void SetUp() override
    {
        OnlineTest::SetUp();
        dlg.SetDefaultProgram(QStringLiteral("QUILLON"));
        server.Serve("/toolbench/pricing.exe", InstallerBody("pricing"));
        // The sum the update checks before it starts the installer.
        server.Serve("/toolbench/SHA256SUMS",
                     QCryptographicHash::hash(InstallerBody("pricing"), QCryptographicHash::Sha256).toHex() +
                         "  pricing.exe\n");
        // The window is never shown for real: each test says what the user does.
        dlg.SetModalRunner([this](TfrmUpdate& window) {
            ++windowsShown;
            nextUpdateWhenShown = ReadValue(kKey, kNext);
            daysShown = window.cboNumDays->currentText();
            return userAction ? userAction(window) : int(QDialog::Rejected);
        });
    }

    // The user's update: clicks "&Update Now" and the window closes as it decides.
    static int UpdateNow(TfrmUpdate& window)
    {
        window.show();
        QTest::mouseClick(window.btnUpdate, Qt::LeftButton);
        return window.result();
    }

    TFreshlineDlg dlg{seams};
    std::function<int(TfrmUpdate&)> userAction;
    int windowsShown = 0;
    std::optional<QString> nextUpdateWhenShown;
    QString daysShown;
};

TEST_F(FreshlineTest, DefaultsAndKeyPath)
{
    TFreshlineDlg fresh(seams);
    EXPECT_EQ(fresh.UpdateInterval(), 30);
    EXPECT_TRUE(fresh.DefaultToPricing());
    EXPECT_TRUE(fresh.DefaultProgram().isEmpty());
    EXPECT_EQ(fresh.ReminderKey(), kKey);
    fresh.SetRegistryKey(QStringLiteral("Quillon"));
    EXPECT_EQ(fresh.ReminderKey(), QStringLiteral("\\Software\\Tarvex\\Quillon\\Freshline"));
    // The properties are reachable by name, as the owning window sets them.
    EXPECT_TRUE(fresh.setProperty("DefaultProgram", QStringLiteral("QUILLON")));
    EXPECT_EQ(fresh.DefaultProgram(), QStringLiteral("QUILLON"));
}

TEST_F(FreshlineTest, FirstStartStoresTheFirstReminderQuietly)
{
    dlg.CheckReminder();
    EXPECT_TRUE(messages.Calls().empty());
    EXPECT_EQ(ReadValue(kKey, kNext), QStringLiteral("02/14/2024"));
    EXPECT_EQ(ReadValue(kKey, kInterval), QStringLiteral("30"));
    EXPECT_EQ(windowsShown, 0);
}

// Checked together at a start, the reminders' first dates are gathered and
// written once; when that write is refused, each is written on its own, so
// one reminder's failure shows its own reason and costs the other nothing.
TEST_F(FreshlineTest, FirstDatesCheckedTogetherAreWrittenTogetherAndFailAlone)
{
    TNewsDlg news(seams);
    ReminderWrites firstRun;
    dlg.CheckReminder(&firstRun);
    news.CheckReminder(&firstRun);
    EXPECT_EQ(ReadValue(kKey, kNext), std::nullopt) << "nothing written before the commit";
    firstRun.Commit(seams);
    EXPECT_TRUE(messages.Calls().empty());
    EXPECT_EQ(ReadValue(kKey, kNext), QStringLiteral("02/14/2024"));
    EXPECT_EQ(ReadValue(news.ReminderKey(), kNext), QStringLiteral("01/22/2024"));

    // The update reminder's key lies deeper than the store takes.
    TFreshlineDlg deep(seams);
    deep.SetRegistryKey(QStringLiteral("K\\").repeated(260) + QStringLiteral("Quillon"));
    TNewsDlg other(seams);
    other.SetRegistryKey(QStringLiteral("Other"));
    ReminderWrites again;
    deep.CheckReminder(&again);
    other.CheckReminder(&again);
    again.Commit(seams);
    ASSERT_EQ(messages.Calls().size(), 1u);
    EXPECT_EQ(messages.Calls()[0].kind, MessageCall::Error);
    EXPECT_TRUE(messages.Calls()[0].text.startsWith(QStringLiteral("Cannot open the settings key %1: ").arg(deep.ReminderKey())))
        << messages.Calls()[0].text.toStdString();
    EXPECT_EQ(ReadValue(other.ReminderKey(), kNext), QStringLiteral("01/22/2024"));
}

TEST_F(FreshlineTest, NewInstallationRestartsTheInterval)
{
    WriteValue(kKey, kNext, QStringLiteral("11/01/2023"));
    WriteValue(kKey, kInterval, QStringLiteral("45"));
    WriteValue(kKey, QStringLiteral("NewInstall"), QStringLiteral("1"));
    dlg.CheckReminder();
    EXPECT_TRUE(messages.Calls().empty());
    EXPECT_EQ(ReadValue(kKey, kNext), QStringLiteral("02/14/2024"));
    EXPECT_EQ(ReadValue(kKey, kInterval), QStringLiteral("30"));
    EXPECT_EQ(ReadValue(kKey, QStringLiteral("NewInstall")), std::nullopt);
}

TEST_F(FreshlineTest, PromptsFromMidnightOfTheStoredDate)
{
    struct Case {
        QDateTime now;
        QString stored;
        bool prompt;
    };
    const Case cases[] = {
        {QDateTime(QDate(2024, 1, 15), QTime(9, 0)), QStringLiteral("01/15/2024"), true},
        {QDateTime(QDate(2024, 1, 15), QTime(0, 0)), QStringLiteral("01/15/2024"), true},
        {QDateTime(QDate(2024, 1, 14), QTime(23, 59, 59)), QStringLiteral("01/15/2024"), false},
        {QDateTime(QDate(2024, 1, 15), QTime(9, 0)), QStringLiteral("12/31/2023"), true},
        {QDateTime(QDate(2024, 1, 15), QTime(9, 0)), QStringLiteral("1/16/2024"), false},
        {QDateTime(QDate(2024, 1, 15), QTime(9, 0)), QStringLiteral("0"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.toStdString() + " at " + c.now.toString(Qt::ISODate).toStdString());
        messages.Clear();
        clock.SetNow(c.now);
        WriteValue(kKey, kNext, c.stored);
        dlg.CheckReminder();
        if (c.prompt) {
            ASSERT_EQ(messages.Calls().size(), 2u);
            EXPECT_EQ(messages.Calls()[0].kind, MessageCall::DefaultBeep);
            const MessageRecord& box = messages.Calls()[1];
            EXPECT_EQ(box.kind, MessageCall::Question);
            EXPECT_EQ(box.caption, QStringLiteral("Tarvex Freshline"));
            EXPECT_EQ(box.text, kPromptText);
            EXPECT_EQ(box.checkBoxText, QStringLiteral("Don't ask me again."));
            EXPECT_EQ(box.icon, MessageIcon::Question);
        } else {
            EXPECT_TRUE(messages.Calls().empty());
        }
        // Answered No (the default) or not asked: nothing changes.
        EXPECT_EQ(ReadValue(kKey, kNext), c.stored);
        EXPECT_EQ(windowsShown, 0);
    }
}

TEST_F(FreshlineTest, NoLeavesTheReminderDueForTheNextCheck)
{
    WriteValue(kKey, kNext, QStringLiteral("01/15/2024"));
    messages.QueueAnswer(MessageButton::No);
    messages.QueueAnswer(MessageButton::Cancel);
    dlg.CheckReminder();
    dlg.CheckReminder();
    EXPECT_EQ(messages.Boxes().size(), 2u);
    EXPECT_EQ(ReadValue(kKey, kNext), QStringLiteral("01/15/2024"));
    EXPECT_EQ(ReadValue(kKey, kInterval), std::nullopt);
    EXPECT_EQ(windowsShown, 0);
}

TEST_F(FreshlineTest, DontAskAgainTurnsTheReminderOffWhateverTheAnswer)
{
    for (const MessageButton answer : {MessageButton::No, MessageButton::Cancel}) {
        WriteValue(kKey, kNext, QStringLiteral("01/15/2024"));
        messages.QueueAnswer(answer, true);
        dlg.CheckReminder();
        EXPECT_EQ(ReadValue(kKey, kNext), QStringLiteral("0"));
        EXPECT_EQ(windowsShown, 0);
        // Off: later checks show nothing.
        messages.Clear();
        clock.Advance(qint64(400) * 24 * 3600 * 1000);
        dlg.CheckReminder();
        EXPECT_TRUE(messages.Calls().empty());
    }
}

TEST_F(FreshlineTest, DontAskAgainWithYesStoresANewDateAfterASuccessfulUpdate)
{
    WriteValue(kKey, kNext, QStringLiteral("01/10/2024"));
    messages.QueueAnswer(MessageButton::Yes, true);
    userAction = UpdateNow;
    dlg.CheckReminder();
    ASSERT_EQ(windowsShown, 1);
    EXPECT_EQ(nextUpdateWhenShown, QStringLiteral("0"));
    EXPECT_EQ(daysShown, QStringLiteral("30"));
    EXPECT_EQ(shell.Targets(), QStringList{common + QStringLiteral("/updates/pricing.exe")});
    EXPECT_EQ(ReadValue(kKey, kNext), QStringLiteral("02/14/2024"));
    EXPECT_EQ(ReadValue(kKey, kInterval), QStringLiteral("30"));
}

TEST_F(FreshlineTest, ABadStoredDateIsReportedAndNothingIsWritten)
{
    for (const QString& stored :
         {QStringLiteral("abc"), QStringLiteral("13/01/2024"), QStringLiteral("2024-01-15"), QString()}) {
        SCOPED_TRACE(stored.toStdString());
        messages.Clear();
        WriteValue(kKey, kNext, stored);
        dlg.CheckReminder();
        ASSERT_EQ(messages.Calls().size(), 1u);
        EXPECT_EQ(messages.Calls()[0].kind, MessageCall::Error);
        EXPECT_EQ(messages.Calls()[0].text, QStringLiteral("'%1' is not a valid date").arg(stored));
        EXPECT_EQ(ReadValue(kKey, kNext), stored);
        EXPECT_EQ(ReadValue(kKey, kInterval), std::nullopt);
    }
}

TEST_F(FreshlineTest, TheWindowShowsTheStoredIntervalWhenItIsANumber)
{
    struct Case {
        std::optional<QString> stored;
        QString shown;
    };
    const Case cases[] = {
        {QStringLiteral("45"), QStringLiteral("45")},  {QStringLiteral("2.5"), QStringLiteral("2.5")},
        {QStringLiteral("abc"), QStringLiteral("30")}, {QString(), QStringLiteral("30")},
        {std::nullopt, QStringLiteral("30")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.value_or(QStringLiteral("(absent)")).toStdString());
        if (c.stored)
            WriteValue(kKey, kInterval, *c.stored);
        else
            DeleteValue(kKey, kInterval);
        WriteValue(kKey, kNext, QStringLiteral("03/01/2024"));
        EXPECT_FALSE(dlg.Execute());  // closed with Cancel
        EXPECT_EQ(daysShown, c.shown);
        // Cancel stores nothing.
        EXPECT_EQ(ReadValue(kKey, kNext), QStringLiteral("03/01/2024"));
        EXPECT_EQ(ReadValue(kKey, kInterval), c.stored);
    }
}

TEST_F(FreshlineTest, ASuccessfulUpdateStoresTheReminderFromTheWindow)
{
    struct Case {
        QString days;
        bool remind;
        QString next;
        QString interval;
    };
    const Case cases[] = {
        {QStringLiteral("12"), true, QStringLiteral("01/27/2024"), QStringLiteral("12")},
        {QString(), true, QStringLiteral("02/14/2024"), QStringLiteral("30")},
        {QStringLiteral("abc"), true, QStringLiteral("02/14/2024"), QStringLiteral("30")},
        {QStringLiteral("12"), false, QStringLiteral("0"), QStringLiteral("12")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.days.toStdString());
        WriteValue(kKey, kNext, QStringLiteral("0"));
        userAction = [&c](TfrmUpdate& window) {
            window.cboNumDays->setEditText(c.days);
            window.chkReminder->setChecked(c.remind);
            return UpdateNow(window);
        };
        EXPECT_TRUE(dlg.Execute());
        EXPECT_EQ(ReadValue(kKey, kNext), c.next);
        EXPECT_EQ(ReadValue(kKey, kInterval), c.interval);
    }
}

TEST_F(FreshlineTest, ADaysTextThatIsNoWholeNumberIsReportedAfterTheUpdate)
{
    for (const QString& days : {QStringLiteral("2.5"), QStringLiteral("1E1")}) {
        SCOPED_TRACE(days.toStdString());
        messages.Clear();
        shell.opened.clear();
        WriteValue(kKey, kNext, QStringLiteral("01/01/2024"));
        WriteValue(kKey, kInterval, QStringLiteral("30"));
        userAction = [&days](TfrmUpdate& window) {
            window.cboNumDays->setEditText(days);
            return UpdateNow(window);
        };
        EXPECT_FALSE(dlg.Execute());
        EXPECT_EQ(shell.opened.size(), 1u);  // the update itself ran
        const std::vector<MessageRecord> boxes = messages.Boxes();
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back().kind, MessageCall::Error);
        EXPECT_EQ(boxes.back().text, QStringLiteral("'%1' is not a valid integer value").arg(days));
        EXPECT_EQ(ReadValue(kKey, kNext), QStringLiteral("01/01/2024"));
        EXPECT_EQ(ReadValue(kKey, kInterval), QStringLiteral("30"));
    }
}

TEST_F(FreshlineTest, TheWindowOpensOnTheOwnProgramAndTheChosenAction)
{
    const QString maker = QStringLiteral("\\Software\\Tarvex\\");
    for (const QString& name : {QStringLiteral("Bender"), QStringLiteral("Quillon"), QStringLiteral("Tower")}) {
        WriteValue(maker + name, QStringLiteral("MenuCaption"), name.toUpper());
        WriteValue(maker + name, QStringLiteral("UpdateExe"), name.toLower() + QStringLiteral(".exe"));
        WriteValue(maker + name, QStringLiteral("UpdateDate"), QStringLiteral("01/01/2024"));
    }
    for (const bool pricing : {true, false}) {
        dlg.SetDefaultToPricing(pricing);
        QString selected;
        bool listEnabled = !pricing;
        userAction = [&](TfrmUpdate& window) {
            selected = window.sgPrograms->item(window.sgPrograms->currentRow(), 0)->text();
            EXPECT_EQ(window.SelectedCount(), 1);
            listEnabled = window.sgPrograms->isEnabled() && window.chkAll->isEnabled();
            EXPECT_EQ(window.ActionItem(TfrmUpdate::PricingOnly)->isChecked(), pricing);
            return int(QDialog::Rejected);
        };
        dlg.Execute();
        EXPECT_EQ(selected, QStringLiteral("QUILLON"));
        EXPECT_EQ(listEnabled, !pricing);
    }
}

// The real modal path: the window runs its own loop until "&Cancel" is clicked.
TEST_F(FreshlineTest, ExecuteShowsTheWindowModally)
{
    dlg.SetModalRunner({});
    bool sawWindow = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* window = qobject_cast<TfrmUpdate*>(QApplication::activeModalWidget())) {
            poll.stop();
            sawWindow = window->windowTitle() == QStringLiteral("Tarvex Freshline");
            QTest::mouseClick(window->btnCancel, Qt::LeftButton);
        }
    });
    poll.start(0);
    // Should the click miss, the window still closes and the test fails rather than hangs.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    guard.start(5000);
    WriteValue(kKey, kNext, QStringLiteral("03/01/2024"));
    EXPECT_FALSE(dlg.Execute());
    EXPECT_TRUE(sawWindow);
    EXPECT_TRUE(guard.isActive());
    EXPECT_EQ(ReadValue(kKey, kNext), QStringLiteral("03/01/2024"));
}

}  // namespace
