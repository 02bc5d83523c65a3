// The page parsers on small fixtures, written the way the maker's pages are:
// one link per line with fixed markers.

#include <gtest/gtest.h>

#include "tests/online/OnlineTestSupport.h"
#include "online/NewsParsers.h"

using namespace quillon;

namespace {

const QString kServer = QStringLiteral("http://news.test");
const QString kReleases = QStringLiteral("http://news.test/whatsnew/pressreleases/");

QString Release(int id, const QString& title, int language = 1)
{
    return QStringLiteral("<TR><TD><A HREF=viewpressrelease.asp?id=%1&langid=%2>%3</A></TD></TR>")
        .arg(id)
        .arg(language)
        .arg(title);
}

TEST(NewsParsers, PressReleaseLines)
{
    struct Case {
        const char* what;
        QString line;
        QString entry;
    };
    const Case cases[] = {
        {"unquoted link", Release(7, QStringLiteral("Tower cable ships")),
         QStringLiteral("Tower cable ships=") + kReleases + QStringLiteral("viewpressrelease.asp?id=7&langid=1")},
        {"quoted link: the headline starts with the tag's \">\"",
         QStringLiteral("<A HREF=\"viewpressrelease.asp?id=4&langid=1\">Quoted</A>"),
         QStringLiteral(">Quoted=") + kReleases + QStringLiteral("viewpressrelease.asp?id=4&langid=1")},
        {"\"href=\" in small letters: the address starts at the fifth character",
         QStringLiteral("<a href=viewpressrelease.asp?id=3&langid=1>Small</a>"),
         QStringLiteral("Small=") + kReleases + QStringLiteral("ref=viewpressrelease.asp?id=3&langid=1")},
        {"headline holding \"=\"", Release(5, QStringLiteral("Sales = up")),
         QStringLiteral("Sales = up=") + kReleases + QStringLiteral("viewpressrelease.asp?id=5&langid=1")},
        {"first character after HREF= is taken even when it is \">\"", QStringLiteral("<A HREF=>Empty</A>"),
         QStringLiteral("=") + kReleases + QStringLiteral(">Empty</A")},
        {"empty headline: the first character is taken even when it is \"<\"",
         QStringLiteral("<A HREF=viewpressrelease.asp?id=2&langid=1></A>"),
         QStringLiteral("</A=") + kReleases + QStringLiteral("viewpressrelease.asp?id=2&langid=1")},
        // Every scan stops at the end of its line.
        {"HREF= ends the line", QStringLiteral("<A HREF="), QStringLiteral("=") + kReleases},
        {"address ends the line", QStringLiteral("HREF=abc"), QStringLiteral("=") + kReleases + QStringLiteral("ab")},
        {"address ends on the last character", QStringLiteral("HREF=abc>"),
         QStringLiteral("=") + kReleases + QStringLiteral("abc")},
        {"short line without HREF=", QStringLiteral("abc"), QStringLiteral("=") + kReleases},
        {"empty line", QString(), QStringLiteral("=") + kReleases},
    };
    for (const Case& c : cases) EXPECT_EQ(ParsePressRelease(c.line, kServer), c.entry) << c.what;
}

TEST(NewsParsers, EntryNameAndValueSplitAtTheFirstEquals)
{
    const QString entry = QStringLiteral("Sales = up=http://x/y?a=1");
    EXPECT_EQ(EntryName(entry), QStringLiteral("Sales "));
    EXPECT_EQ(EntryValue(entry), QStringLiteral(" up=http://x/y?a=1"));
    EXPECT_EQ(EntryName(QStringLiteral("=")), QString());
    EXPECT_EQ(EntryValue(QStringLiteral("=")), QString());
}

TEST(NewsParsers, SpotlightSections)
{
    struct Case {
        const char* what;
        QStringList lines;
        QString entry;
    };
    const QString red = QStringLiteral("<font color=\"red\">");
    const Case cases[] = {
        {"relative address gets the server",
         {QStringLiteral("<html>"), QStringLiteral("<!-- SpotLight -->"),
          red + QStringLiteral("New waveguide catalogue</font>"),
          QStringLiteral("<a HREF=\"/products/waveguide.asp\">more</a>"), QStringLiteral("<!-- End SpotLight -->")},
         QStringLiteral("New waveguide catalogue=http://news.test/products/waveguide.asp")},
        {"absolute address stays as it is",
         {QStringLiteral("<!-- SpotLight -->") + red + QStringLiteral("Trade show</font>"),
          QStringLiteral("<a HREF=\"http://show.example/booth\">x</a>"), QStringLiteral("<!-- End SpotLight -->")},
         QStringLiteral("Trade show=http://show.example/booth")},
        {"sections are joined; text and address run on",
         {QStringLiteral("<!-- SpotLight -->"), red + QStringLiteral("One</font>"),
          QStringLiteral("<!-- End SpotLight -->"), red + QStringLiteral("Outside</font>"),
          QStringLiteral("<a HREF=/outside>x</a>"), QStringLiteral("<!-- SpotLight -->"),
          red + QStringLiteral("Two</font>"), QStringLiteral("<a HREF=/first>x</a>"),
          QStringLiteral("<a HREF=/second>x</a>"), QStringLiteral("<!-- End SpotLight -->")},
         QStringLiteral("OneTwo=http://news.test/first/second")},
        {"the closing marker's line is outside",
         {QStringLiteral("<!-- SpotLight -->"),
          QStringLiteral("<!-- End SpotLight -->") + red + QStringLiteral("Late</font>")},
         QStringLiteral("=")},
        {"no markers",
         {red + QStringLiteral("Unmarked</font>"), QStringLiteral("<a HREF=/x>x</a>")},
         QStringLiteral("=")},
        {"no lines", {}, QStringLiteral("=")},
        {"tag and HREF= at the ends of their lines",
         {QStringLiteral("<!-- SpotLight -->"), red, QStringLiteral("HREF="), QStringLiteral("<!-- End SpotLight -->")},
         QStringLiteral("=http://news.test")},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseSpotlight(c.lines, kServer), c.entry) << c.what;
}

TEST(NewsParsers, TheSpotlightAndNineHeadlinesAtMost)
{
    QStringList listing{QStringLiteral("<html><body>"), Release(100, QStringLiteral("Deutsch"), 2)};
    for (int i = 1; i <= 15; ++i) {
        listing << Release(i, QStringLiteral("Headline %1").arg(i));
        listing << QStringLiteral("<TR><TD>&nbsp;</TD></TR>");
    }
    const QStringList home{QStringLiteral("<!-- SpotLight -->"), QStringLiteral("<font color=\"red\">Spot</font>"),
                           QStringLiteral("<a HREF=/spot>x</a>"), QStringLiteral("<!-- End SpotLight -->")};
    const QStringList links = BuildLinks(listing, home, kServer);
    ASSERT_EQ(links.size(), 10);
    EXPECT_EQ(links[0], QStringLiteral("Spot=http://news.test/spot"));
    for (int i = 1; i <= 9; ++i) EXPECT_EQ(EntryName(links[i]), QStringLiteral("Headline %1").arg(i));

    // A page without qualifying lines still gives the spotlight entry.
    EXPECT_EQ(BuildLinks({Release(1, QStringLiteral("Deutsch"), 2)}, {}, kServer), QStringList{QStringLiteral("=")});
}

TEST(NewsParsers, TheFirstEntryWithAnEqualNameWins)
{
    const QStringList links{QStringLiteral("Spot=http://a/spot"), QStringLiteral("SPOT=http://a/later"),
                            QStringLiteral("News=http://a/1"), QStringLiteral("news=http://a/2")};
    EXPECT_EQ(FirstValueNamed(links, QStringLiteral("spot")), QStringLiteral("http://a/spot"));
    EXPECT_EQ(FirstValueNamed(links, QStringLiteral("NEWS")), QStringLiteral("http://a/1"));
    EXPECT_EQ(FirstValueNamed(links, QStringLiteral("none")), QString());
}

TEST(NewsParsers, OnlyWebAddressesAreOpened)
{
    struct Case {
        QString address;
        QString opened;
    };
    const Case cases[] = {
        {QStringLiteral("http://www.tarvex.example/whatsnew/pressreleases/viewpressrelease.asp?id=5&langid=1"),
         QStringLiteral("http://www.tarvex.example/whatsnew/pressreleases/viewpressrelease.asp?id=5&langid=1")},
        {QStringLiteral("HTTPS://www.tarvex.example/a"), QStringLiteral("https://www.tarvex.example/a")},
        {QStringLiteral("http://www.tarvex.example/a b"), QStringLiteral("http://www.tarvex.example/a%20b")},
        {QStringLiteral("file:///home/user/evil.sh=http://www.tarvex.example/x"), QString()},
        {QStringLiteral("/usr/bin/xterm"), QString()},
        {QStringLiteral("mailto:someone@example.com"), QString()},
        {QStringLiteral(" up=http://www.tarvex.example/x"), QString()},
        {QStringLiteral("http://"), QString()},
        {QStringLiteral("http:///etc/passwd"), QString()},
        {QString(), QString()},
    };
    for (const Case& c : cases) EXPECT_EQ(WebAddressToOpen(c.address), c.opened) << c.address.toStdString();
}

}  // namespace
