// Downloads against a real HTTP server on 127.0.0.1.

#include <gtest/gtest.h>

#include <functional>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/support/TestHttpServer.h"
#include "tests/support/QtPrinters.h"
#include "platform/HttpNetwork.h"

using namespace quillon;

namespace {

// The body served at /file (and, through redirects, /moved and /moved-twice):
// large enough to arrive in several pieces, and not a repeat of one byte, so a
// piece written twice or out of order shows.
QByteArray FileBody()
{
    QByteArray body;
    for (int i = 0; body.size() < 300'000; ++i)
        body += "line " + QByteArray::number(i) + " of the test installer\r\n";
    return body;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(server.Listening());
        server.Serve("/file", FileBody());
        server.Serve("/empty", {});
        server.Fail("/missing", 404);
        server.Fail("/fails", 500);
        server.Redirect("/moved", 302, "/file");
        server.Redirect("/moved-twice", 301, "/moved");
        server.BreakOff("/broken", FileBody().left(5000), 200'000);
        server.Stall("/stall", "0123456789", 1000);
    }

    // The folder's entries other than the ones named.
    QStringList Others(const QStringList& expected) const
    {
        QStringList entries = QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString& name : expected)
            entries.removeAll(name);
        return entries;
    }

    QTemporaryDir folder;
    TestHttpServer server;
    // Short, so the stalled transfer fails quickly; long enough that the
    // loopback transfers never come near it.
    HttpNetwork network{std::chrono::milliseconds(300)};
};

TEST_F(DownloadTest, SavesTheWholeBodyAndReportsProgress)
{
    const QString path = folder.filePath(QStringLiteral("pricing.exe"));
    qint64 lastReceived = -1;
    qint64 lastTotal = -1;
    int calls = 0;
    const DownloadResult result = network.DownloadToFile(server.Url("/file"), path, [&](qint64 received, qint64 total) {
        ++calls;
        lastReceived = received;
        lastTotal = total;
    });
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.httpStatus, 200);
    EXPECT_EQ(ReadAll(path), FileBody());
    EXPECT_GT(calls, 0);
    EXPECT_EQ(lastReceived, FileBody().size());
    EXPECT_EQ(lastTotal, FileBody().size());
    EXPECT_EQ(Others({"pricing.exe"}), QStringList());
}

TEST_F(DownloadTest, FollowsRedirects)
{
    for (const char* route : {"/moved", "/moved-twice"}) {
        SCOPED_TRACE(route);
        const QString path = folder.filePath(QStringLiteral("moved.exe"));
        const DownloadResult result = network.DownloadToFile(server.Url(route), path);
        ASSERT_TRUE(result.ok) << result.error.toStdString();
        EXPECT_EQ(result.httpStatus, 200);
        // The redirect's own body ("moved") must not end up in the file.
        EXPECT_EQ(ReadAll(path), FileBody());
    }
}

TEST_F(DownloadTest, AnEmptyBodyIsAnEmptyFile)
{
    const QString path = folder.filePath(QStringLiteral("empty.exe"));
    const DownloadResult result = network.DownloadToFile(server.Url("/empty"), path);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFileInfo(path).size(), 0);
}

struct FailureCase {
    const char* route;
    int status;  // the status that came back; 0 when the transfer itself broke
};

void PrintTo(const FailureCase& c, std::ostream* out)
{
    *out << c.route;
}

class DownloadFailureTest : public DownloadTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DownloadFailureTest, LeavesNothingAtTheFinalPath)
{
    const QString path = folder.filePath(QStringLiteral("new.exe"));
    const DownloadResult result = network.DownloadToFile(server.Url(GetParam().route), path);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    if (GetParam().status != 0) {
        EXPECT_EQ(result.httpStatus, GetParam().status);
    }
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(Others({}), QStringList()) << "a temporary file was left behind";
}

TEST_P(DownloadFailureTest, KeepsAnEarlierFileOfTheSameName)
{
    const QString path = folder.filePath(QStringLiteral("old.exe"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the installer fetched last month");
    }
    EXPECT_FALSE(network.DownloadToFile(server.Url(GetParam().route), path).ok);
    EXPECT_EQ(ReadAll(path), QByteArray("the installer fetched last month"));
    EXPECT_EQ(Others({"old.exe"}), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Routes, DownloadFailureTest,
                         ::testing::Values(FailureCase{"/missing", 404}, FailureCase{"/fails", 500},
                                           FailureCase{"/broken", 0}, FailureCase{"/stall", 0}),
                         [](const auto& info) { return std::string(info.param.route + 1); });

// What a finished transfer says about itself, case by case; the first
// failure in the order of the rows counts.
TEST(TransferOutcome, NamesTheFirstFailureOrLetsTheBodyIn)
{
    using namespace std::chrono_literals;
    const QString path = QStringLiteral("/updates/new.exe");
    TransferFacts complete;
    complete.httpStatus = 200;
    complete.contentLength = 300;
    complete.stored = 300;

    struct Case {
        const char* what;
        std::function<void(TransferFacts&)> change;
        std::optional<QString> error;
    };
    const Case cases[] = {
        {"complete", [](TransferFacts&) {}, std::nullopt},
        {"stalled, and aborted for it",
         [](TransferFacts& f) {
             f.stalled = true;
             f.networkError = "Operation canceled";
         },
         QStringLiteral("No data received for 1.5 seconds")},
        {"write failed, and aborted for it",
         [](TransferFacts& f) {
             f.writeError = "No space left on device";
             f.networkError = "Operation canceled";
         },
         QStringLiteral("Cannot write %1: No space left on device").arg(QDir::toNativeSeparators(path))},
        {"Qt's report before the status",
         [](TransferFacts& f) {
             f.networkError = "Error transferring - server replied: Not Found";
             f.httpStatus = 404;
         },
         QStringLiteral("Error transferring - server replied: Not Found")},
        {"a status outside 2xx",
         [](TransferFacts& f) {
             f.httpStatus = 503;
             f.reasonPhrase = "Service Unavailable";
         },
         QStringLiteral("The server answered 503 Service Unavailable")},
        {"2xx other than 200", [](TransferFacts& f) { f.httpStatus = 204; }, std::nullopt},
        {"no status outside http",
         [](TransferFacts& f) {
             f.http = false;
             f.httpStatus = 0;
         },
         std::nullopt},
        {"shorter than announced", [](TransferFacts& f) { f.stored = 120; },
         QStringLiteral("The transfer broke off after 120 of 300 bytes")},
        {"longer than announced", [](TransferFacts& f) { f.stored = 400; },
         QStringLiteral("The transfer broke off after 400 of 300 bytes")},
        {"an earlier hop's length after a redirect",
         [](TransferFacts& f) {
             f.redirected = true;
             f.stored = 120;
         },
         std::nullopt},
        {"no length announced", [](TransferFacts& f) { f.contentLength.reset(); }, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TransferFacts facts = complete;
        c.change(facts);
        EXPECT_EQ(ClassifyTransfer(facts, path, 1500ms), c.error);
    }
}

TEST_F(DownloadTest, ARefusedConnectionFails)
{
    // A port that nothing listens on: take one and let it go again.
    QUrl url;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        url = QUrl(QStringLiteral("http://127.0.0.1:%1/file").arg(probe.serverPort()));
    }
    const QString path = folder.filePath(QStringLiteral("refused.exe"));
    const DownloadResult result = network.DownloadToFile(url, path);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(DownloadTest, AMissingTargetFolderFailsWithoutCreatingIt)
{
    const QString path = folder.filePath(QStringLiteral("updates/pricing.exe"));
    const DownloadResult result = network.DownloadToFile(server.Url("/file"), path);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("updates"))));
}

}  // namespace
