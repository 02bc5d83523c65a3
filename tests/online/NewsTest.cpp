// The news reminder and the news window: when it offers the news, what it
// stores, and the whole road from the pages on a local server to a click that
// opens a story.

#include <stdexcept>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include "tests/online/OnlineTestSupport.h"
#include "online/uNewsDlg.h"

using namespace quillon;
using namespace quillon::test;

namespace {

const QString kKey = QStringLiteral("\\Software\\Tarvex\\News");
const QString kNext = QStringLiteral("NextUpdate");
const QString kInterval = QStringLiteral("Interval");
const QByteArray kListingPath = "/whatsnew/pressreleases/default.asp";
const QByteArray kHomePath = "/home/default.asp";

QByteArray Release(int id, const QByteArray& title)
{
    return "<TR><TD><A HREF=viewpressrelease.asp?id=" + QByteArray::number(id) + "&langid=1>" + title +
           "</A></TD></TR>\r\n";
}

class NewsTest : public OnlineTest {
protected:
    void SetUp() override
    {
        OnlineTest::SetUp();
        QByteArray listing = "<html><body><TABLE>\r\n";
        listing += Release(1, "Tower cable ships");
        listing += "<TR><TD><A HREF=viewpressrelease.asp?id=90&langid=2>Kabel</A></TD></TR>\n";
        listing += Release(2, "Spot light");  // the spotlight's text in other letters
        listing += Release(3, "Tower cable ships");
        listing += Release(4, "Sales = up");
        listing += Release(5, "Run=file:///home/user/evil.sh");
        listing += "</TABLE></body></html>\r\n";
        listingBody = listing;
        server.Serve(kListingPath, listing);
        server.Serve(kHomePath,
                     "<html>\r\n<!-- SpotLight -->\r\n<font color=\"red\">SPOT LIGHT</font>\r\n"
                     "<a HREF=\"/products/new.asp\">more</a>\r\n<!-- End SpotLight -->\r\n</html>\r\n");
        dlg.SetModalRunner([this](TfrmNews& window) {
            ++windowsShown;
            nextUpdateWhenShown = ReadValue(kKey, kNext);
            daysShown = window.cboNumDays->currentText();
            if (userAction) return userAction(window);
            window.btnClose->click();
            return window.result();
        });
    }

    QString Releases() const { return server.Address() + QStringLiteral("/whatsnew/pressreleases/"); }

    static void ShowAndWait(TfrmNews& window)
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    static void ClickLine(ClickableMemo* memo, int line)
    {
        const QTextBlock block = memo->document()->findBlockByNumber(line);
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock);
        const QRect rect = memo->cursorRect(cursor);
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(qMax(rect.left() - 3, 2), rect.center().y()));
    }

    TNewsDlg dlg{seams};
    QByteArray listingBody;
    std::function<int(TfrmNews&)> userAction;
    int windowsShown = 0;
    std::optional<QString> nextUpdateWhenShown;
    QString daysShown;
};

TEST_F(NewsTest, DefaultsAndKeyPath)
{
    EXPECT_EQ(dlg.UpdateInterval(), 7);
    EXPECT_EQ(dlg.ReminderKey(), kKey);
    dlg.SetRegistryKey(QStringLiteral("Quillon"));
    EXPECT_EQ(dlg.ReminderKey(), QStringLiteral("\\Software\\Tarvex\\Quillon\\News"));
}

TEST_F(NewsTest, TheWindowHasItsControls)
{
    TfrmNews window(seams);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tarvex News Headlines"));
    EXPECT_EQ(window.size(), QSize(619, 361));
    EXPECT_NE(window.minimumSize(), window.maximumSize());  // resizable
    EXPECT_EQ(window.Label3->text(), QStringLiteral("Spotlight:"));
    EXPECT_TRUE(window.Label3->font().bold());
    EXPECT_EQ(window.Image1->size(), QSize(60, 60));
    EXPECT_FALSE(window.Image1->pixmap().isNull());
    EXPECT_TRUE(window.memSpotlight->isReadOnly());
    EXPECT_TRUE(window.memSpotlight->font().bold());
    EXPECT_EQ(window.memSpotlight->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(window.memSpotlight->viewport()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(window.Label1->text(),
              QStringLiteral("Latest press releases (Click a headline to view the full story):"));
    EXPECT_TRUE(window.memNews->isReadOnly());
    EXPECT_TRUE(window.memNews->font().underline());
    EXPECT_EQ(window.memNews->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(window.memNews->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(window.memNews->viewport()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(window.chkDisplayAgain->text(), QStringLiteral("Display news headlines again in"));
    EXPECT_TRUE(window.chkDisplayAgain->isChecked());
    EXPECT_EQ(window.cboNumDays->count(), 60);
    EXPECT_EQ(window.cboNumDays->currentText(), QStringLiteral("7"));
    EXPECT_EQ(window.Label2->text(), QStringLiteral("days"));
    EXPECT_EQ(window.btnClose->text(), QStringLiteral("&Close"));
    EXPECT_TRUE(window.Links.isEmpty());
    for (const char* name : {"Label3", "Image1", "memSpotlight", "Label1", "memNews", "chkDisplayAgain", "cboNumDays",
                             "Label2", "btnClose"})
        EXPECT_NE(window.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;

    // The bottom row keeps to the bottom edge, "&Close" to the corner; the
    // headlines take the new room.
    ShowAndWait(window);
    const auto fromCorner = [&window](QWidget* widget) {
        return QPoint(window.width(), window.height()) - widget->geometry().bottomRight();
    };
    const QPoint closeBefore = fromCorner(window.btnClose);
    const int checkBefore = window.height() - window.chkDisplayAgain->geometry().bottom();
    const QSize newsBefore = window.memNews->size();
    window.resize(800, 500);
    QApplication::processEvents();
    EXPECT_EQ(fromCorner(window.btnClose), closeBefore);
    EXPECT_EQ(window.height() - window.chkDisplayAgain->geometry().bottom(), checkBefore);
    EXPECT_GT(window.memNews->width(), newsBefore.width());
    EXPECT_GT(window.memNews->height(), newsBefore.height());
    EXPECT_GT(window.memSpotlight->width(), 500);

    // The reminder box enables the days.
    QTest::mouseClick(window.chkDisplayAgain, Qt::LeftButton);
    EXPECT_FALSE(window.cboNumDays->isEnabled());
    QTest::mouseClick(window.chkDisplayAgain, Qt::LeftButton);
    EXPECT_TRUE(window.cboNumDays->isEnabled());
}

TEST_F(NewsTest, TheWholeRoadFromThePagesToTheBrowser)
{
    QStringList spotlightLines;
    QStringList newsLines;
    QStringList openedAfterClick;
    userAction = [&](TfrmNews& window) {
        ShowAndWait(window);
        spotlightLines = window.memSpotlight->toPlainText().split(QLatin1Char('\n'));
        newsLines = window.memNews->toPlainText().split(QLatin1Char('\n'));
        const auto click = [&](ClickableMemo* memo, int line) {
            shell.opened.clear();
            ClickLine(memo, line);
            openedAfterClick << (shell.opened.empty() ? QStringLiteral("(nothing)")
                                                      : shell.Targets().join(QLatin1Char(' ')));
        };
        click(window.memSpotlight, 0);
        for (int line = 0; line <= 5; ++line) click(window.memNews, line);
        // Well below the text, too.
        shell.opened.clear();
        QTest::mouseClick(window.memNews->viewport(), Qt::LeftButton, {},
                          QPoint(10, window.memNews->viewport()->height() - 4));
        openedAfterClick << (shell.opened.empty() ? QStringLiteral("(nothing)")
                                                  : shell.Targets().join(QLatin1Char(' ')));
        window.btnClose->click();
        return window.result();
    };
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(windowsShown, 1);
    EXPECT_EQ(server.Requests(), (QList<QByteArray>{kListingPath, kHomePath}));
    EXPECT_TRUE(QFile::exists(common + QStringLiteral("/news/rawnews.dat")));
    EXPECT_TRUE(QFile::exists(common + QStringLiteral("/news/rawsl.dat")));

    EXPECT_EQ(spotlightLines, QStringList{QStringLiteral("SPOT LIGHT")});
    EXPECT_EQ(newsLines, (QStringList{QStringLiteral("Tower cable ships"), QStringLiteral("Spot light"),
                                      QStringLiteral("Tower cable ships"), QStringLiteral("Sales "),
                                      QStringLiteral("Run"), QString()}));
    const QString spot = server.Address() + QStringLiteral("/products/new.asp");
    EXPECT_EQ(openedAfterClick,
              (QStringList{spot, Releases() + QStringLiteral("viewpressrelease.asp?id=1&langid=1"),
                           spot,  // same name as the spotlight, letter case aside
                           Releases() + QStringLiteral("viewpressrelease.asp?id=1&langid=1"),  // the first equal one
                           QStringLiteral("(nothing)"),  // "Sales " leads to " up=http://...", no address
                           QStringLiteral("(nothing)"),  // a page may not open local files
                           QStringLiteral("(nothing)"),  // the empty line below the last headline
                           QStringLiteral("(nothing)")}));
    EXPECT_TRUE(messages.Calls().empty());
    EXPECT_EQ(ReadValue(kKey, kNext), QStringLiteral("01/22/2024"));
    EXPECT_EQ(ReadValue(kKey, kInterval), QStringLiteral("7"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(NewsTest, WithoutThePagesNothingIsShownOrSaid)
{
    struct Case {
        const char* what;
        std::function<void()> breakServer;
        QList<QByteArray> requests;
    };
    const Case cases[] = {
        {"listing missing", [this] { server.Fail(kListingPath, 404); }, {kListingPath, kHomePath}},
        {"home page broken off",
         [this] {
             server.Serve(kListingPath, listingBody);
             server.BreakOff(kHomePath, InstallerBody("home"));
         },
         {kListingPath, kHomePath}},
        // Nothing listens there: the machine is as good as offline.
        {"server unreachable",
         [this] {
             QTcpServer closed;
             ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
             const quint16 port = closed.serverPort();
             closed.close();
             WriteValue(QString::fromLatin1(kCommonFilesKey), QString::fromLatin1(kWebServerValue),
                        QStringLiteral("http://127.0.0.1:%1").arg(port));
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteValue(kKey, kNext, QStringLiteral("01/15/2024"));
        const qsizetype before = server.Requests().size();
        c.breakServer();
        messages.QueueAnswer(MessageButton::Yes);
        dlg.CheckReminder();
        // The connection that broke off may be tried again later; the order is what counts.
        EXPECT_EQ(server.Requests().mid(before, c.requests.size()), c.requests);
        EXPECT_EQ(windowsShown, 0);
        ASSERT_EQ(messages.Boxes().size(), 1u);  // the prompt only
        EXPECT_EQ(messages.Boxes()[0].kind, MessageCall::Question);
        EXPECT_EQ(ReadValue(kKey, kNext), QStringLiteral("01/15/2024"));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        messages.Clear();
    }
}

TEST_F(NewsTest, FirstStartStoresTheFirstOfferQuietly)
{
    dlg.CheckReminder();
    EXPECT_TRUE(messages.Calls().empty());
    EXPECT_EQ(ReadValue(kKey, kNext), QStringLiteral("01/22/2024"));
    EXPECT_EQ(ReadValue(kKey, kInterval), std::nullopt);
}

TEST_F(NewsTest, OffersFromMidnightOfTheStoredDateWithoutABeep)
{
    struct Case {
        QDateTime now;
        QString stored;
        bool offer;
    };
    const Case cases[] = {
        {QDateTime(QDate(2024, 1, 15), QTime(0, 0)), QStringLiteral("01/15/2024"), true},
        {QDateTime(QDate(2024, 1, 14), QTime(23, 59)), QStringLiteral("01/15/2024"), false},
        {QDateTime(QDate(2030, 1, 1), QTime(12, 0)), QStringLiteral("0"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.toStdString());
        messages.Clear();
        clock.SetNow(c.now);
        WriteValue(kKey, kNext, c.stored);
        dlg.CheckReminder();
        if (c.offer) {
            ASSERT_EQ(messages.Calls().size(), 1u);
            const MessageRecord& box = messages.Calls()[0];
            EXPECT_EQ(box.kind, MessageCall::Question);
            EXPECT_EQ(box.caption, QStringLiteral("Tarvex Press Releases"));
            EXPECT_EQ(box.text, QStringLiteral("View the latest press releases from Tarvex Corporation?"));
            EXPECT_EQ(box.checkBoxText, QStringLiteral("Don't ask me again."));
        } else {
            EXPECT_TRUE(messages.Calls().empty());
        }
        EXPECT_EQ(ReadValue(kKey, kNext), c.stored);
        EXPECT_EQ(windowsShown, 0);
        EXPECT_TRUE(server.Requests().isEmpty());
    }
}

TEST_F(NewsTest, DontAskAgain)
{
    WriteValue(kKey, kNext, QStringLiteral("01/01/2024"));
    messages.QueueAnswer(MessageButton::No, true);
    dlg.CheckReminder();
    EXPECT_EQ(ReadValue(kKey, kNext), QStringLiteral("0"));
    EXPECT_EQ(windowsShown, 0);

    // With Yes the offer is off before the window opens; the window's box then sets a new date.
    WriteValue(kKey, kNext, QStringLiteral("01/01/2024"));
    messages.QueueAnswer(MessageButton::Yes, true);
    dlg.CheckReminder();
    EXPECT_EQ(windowsShown, 1);
    EXPECT_EQ(nextUpdateWhenShown, QStringLiteral("0"));
    EXPECT_EQ(ReadValue(kKey, kNext), QStringLiteral("01/22/2024"));
}

TEST_F(NewsTest, AnyFailureLeavesTheReminderFreeForTheNextCheck)
{
    WriteValue(kKey, kNext, QStringLiteral("01/01/2024"));
    messages.QueueAnswer(MessageButton::Yes);
    userAction = [](TfrmNews&) -> int { throw std::runtime_error("the window failed"); };
    EXPECT_THROW(dlg.CheckReminder(), std::runtime_error);
    EXPECT_EQ(windowsShown, 1);

    // The next check offers the news again, and Yes opens the window again.
    userAction = {};
    messages.Clear();
    messages.QueueAnswer(MessageButton::Yes);
    dlg.CheckReminder();
    ASSERT_EQ(messages.Calls().size(), 1u);
    EXPECT_EQ(messages.Calls()[0].kind, MessageCall::Question);
    EXPECT_EQ(windowsShown, 2);
}

TEST_F(NewsTest, ABadStoredDateIsReported)
{
    WriteValue(kKey, kNext, QStringLiteral("31/12/2024"));
    dlg.CheckReminder();
    ASSERT_EQ(messages.Calls().size(), 1u);
    EXPECT_EQ(messages.Calls()[0].kind, MessageCall::Error);
    EXPECT_EQ(messages.Calls()[0].text, QStringLiteral("'31/12/2024' is not a valid date"));
    EXPECT_EQ(ReadValue(kKey, kNext), QStringLiteral("31/12/2024"));
}

TEST_F(NewsTest, TheWindowStoresTheOfferHoweverItCloses)
{
    struct Case {
        const char* what;
        std::optional<QString> storedInterval;
        QString shown;
        QString days;  // typed by the user; empty: left as shown
        bool again;
        bool titleBar;
        QString next;
        QString interval;
    };
    const Case cases[] = {
        {"stored 14",
         QStringLiteral("14"),
         QStringLiteral("14"),
         {},
         true,
         false,
         QStringLiteral("01/29/2024"),
         QStringLiteral("14")},
        {"stored abc",
         QStringLiteral("abc"),
         QStringLiteral("7"),
         {},
         true,
         false,
         QStringLiteral("01/22/2024"),
         QStringLiteral("7")},
        {"absent, title bar", std::nullopt, QStringLiteral("7"), QStringLiteral("3"), true, true,
         QStringLiteral("01/18/2024"), QStringLiteral("3")},
        {"days emptied", QStringLiteral("14"), QStringLiteral("14"), QStringLiteral(""), true, false,
         QStringLiteral("01/22/2024"), QStringLiteral("7")},
        {"box unticked", std::nullopt, QStringLiteral("7"), QStringLiteral("10"), false, true, QStringLiteral("0"),
         QStringLiteral("10")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.storedInterval)
            WriteValue(kKey, kInterval, *c.storedInterval);
        else
            DeleteValue(kKey, kInterval);
        userAction = [&c](TfrmNews& window) {
            if (!c.days.isNull()) window.cboNumDays->setEditText(c.days);
            window.chkDisplayAgain->setChecked(c.again);
            window.show();
            if (c.titleBar)
                window.close();
            else
                window.btnClose->click();
            return window.result();
        };
        EXPECT_TRUE(dlg.Execute());
        EXPECT_EQ(daysShown, c.shown);
        EXPECT_EQ(ReadValue(kKey, kNext), c.next);
        EXPECT_EQ(ReadValue(kKey, kInterval), c.interval);
    }
}

TEST_F(NewsTest, ADaysTextThatIsNoWholeNumberStoresNothing)
{
    WriteValue(kKey, kNext, QStringLiteral("01/01/2024"));
    userAction = [](TfrmNews& window) {
        window.cboNumDays->setEditText(QStringLiteral("2.5"));
        window.btnClose->click();
        return window.result();
    };
    dlg.Execute();
    ASSERT_EQ(messages.Boxes().size(), 1u);
    EXPECT_EQ(messages.Boxes()[0].text, QStringLiteral("'2.5' is not a valid integer value"));
    EXPECT_EQ(ReadValue(kKey, kNext), QStringLiteral("01/01/2024"));
    EXPECT_EQ(ReadValue(kKey, kInterval), std::nullopt);
}

// The real modal path: the window runs its own loop until "&Close" is clicked.
TEST_F(NewsTest, ExecuteShowsTheWindowModally)
{
    dlg.SetModalRunner({});
    QString spotlight;
    // The pages download first, in loops of their own: wait for the window.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* window = qobject_cast<TfrmNews*>(QApplication::activeModalWidget())) {
            poll.stop();
            spotlight = window->memSpotlight->toPlainText();
            QTest::mouseClick(window->btnClose, Qt::LeftButton);
        }
    });
    poll.start(0);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    guard.start(5000);
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(spotlight, QStringLiteral("SPOT LIGHT"));
    EXPECT_TRUE(guard.isActive());
    EXPECT_EQ(ReadValue(kKey, kNext), QStringLiteral("01/22/2024"));
}

}  // namespace
