// An exported page opened in a real browser (headless Chromium): the table
// must show every heading and cell exactly as the grid holds it, markup
// characters included. Chromium is part of the test set-up (scripts/setup.sh);
// without it the test fails and says so.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include "tests/output/ExportFixture.h"
#include "output/HtmlExport.h"
#include "platform/Fakes.h"

namespace quillon {
namespace {

// Undoes the browser's own serialisation of text nodes.
QString TextOf(QString html)
{
    html.replace("&lt;", "<").replace("&gt;", ">").replace("&nbsp;", QString(QChar(0xA0)));
    return html.replace("&amp;", "&");
}

// The table as the browser built it: every row's cells, as text.
QList<QStringList> TableCells(const QString& dom)
{
    static const QRegularExpression row("<tr>(.*?)</tr>", QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cell("<td>(.*?)</td>", QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression bold("^<b>(.*)</b>$", QRegularExpression::DotMatchesEverythingOption);
    QList<QStringList> table;
    for (const auto& r : row.globalMatch(dom)) {
        QStringList cells;
        for (const auto& c : cell.globalMatch(r.captured(1))) {
            const auto b = bold.match(c.captured(1));
            cells << TextOf(b.hasMatch() ? b.captured(1) : c.captured(1));
        }
        table << cells;
    }
    return table;
}

TEST(HtmlInBrowser, TableShowsTheTextsAsTyped)
{
    const QString chromium = QStandardPaths::findExecutable("chromium");
    ASSERT_FALSE(chromium.isEmpty()) << "chromium is not installed; scripts/setup.sh installs it";

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FakeSeams fake(dir.path(), dir.filePath("settings.json"));
    fake.paths.SetUserDataFolder(dir.path());
    testing::FixedResults page;
    page.grid = testing::SpecsGrid(5);
    page.grid.headings[12] = "List Price Per Foot (<GBP>)";
    page.grid.rows[0][2] = "7/8\" foam & air <low loss> jacket";
    page.grid.rows[1][2] = "Cell</TD><TD>split? <script>document.title='x'</script>";
    page.grid.rows[2][2] = QString::fromUtf8("Gaine PE, -40 °C … 85 °C, Ø 22 mm, 5 € & more");
    page.grid.rows[3][2] = "&amp; stays &amp;";
    SaveDialogState saveDialog;
    fake.fileDialogs.QueueAnswer(dir.filePath("html/results.html"));
    const QString path = ExportHtml(page, fake.Get(), saveDialog);
    ASSERT_FALSE(path.isEmpty());

    QTemporaryDir profile;
    ASSERT_TRUE(profile.isValid());
    QProcess browser;
    browser.setProcessChannelMode(QProcess::SeparateChannels);
    browser.start(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                             "--disable-background-networking", "--disable-extensions", "--disable-component-update",
                             "--disable-sync", "--user-data-dir=" + profile.path(), "--dump-dom",
                             QUrl::fromLocalFile(path).toString()});
    ASSERT_TRUE(browser.waitForFinished(60000)) << "chromium did not finish";
    ASSERT_EQ(browser.exitCode(), 0) << browser.readAllStandardError().toStdString();
    const QString dom = QString::fromUtf8(browser.readAllStandardOutput());

    EXPECT_TRUE(dom.contains("<title>Tarvex Quillon Results</title>")) << dom.toStdString();
    // The injected script never ran, so the title is untouched; it is text in its cell.
    const QList<QStringList> table = TableCells(dom);
    ASSERT_EQ(table.size(), 6) << dom.toStdString();
    QList<QStringList> expected{page.grid.headings};
    expected += page.grid.rows;
    for (qsizetype r = 0; r < table.size(); ++r)
        EXPECT_EQ(table[r], expected[r] + QStringList{QString()}) << "row " << r;
}

}  // namespace
}  // namespace quillon
