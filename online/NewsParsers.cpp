#include "online/NewsParsers.h"

#include <QUrl>

namespace quillon {
namespace {

const QChar kQuote = QLatin1Char('"');

// The scans count characters from 1, as the page rules are written; At()
// is only ever asked for a position inside the line.
class LineScan {
public:
    explicit LineScan(const QString& line) : line_(line) {}

    qsizetype Length() const { return line_.size(); }
    QChar At(qsizetype p) const { return line_.at(p - 1); }
    // 1-based position of the first exact occurrence, 0 when absent.
    qsizetype Pos(const QString& text) const { return line_.indexOf(text, 0, Qt::CaseSensitive) + 1; }

    // From p: append every character but double quotes until ">" or a double
    // quote comes, or the line ends. The first character is taken whatever it
    // is (a double quote is still skipped). Gives the position that ended it.
    qsizetype ScanAddress(qsizetype p, QString& address) const
    {
        if (p > Length()) return p;
        do {
            if (At(p) != kQuote) address += At(p);
            ++p;
        } while (!(p >= Length() || At(p) == QLatin1Char('>') || At(p) == kQuote));
        return p;
    }

    // From p: append characters until "<" comes or the line ends; the first
    // character is taken whatever it is.
    qsizetype ScanText(qsizetype p, QString& text) const
    {
        if (p > Length()) return p;
        do {
            text += At(p);
            ++p;
        } while (!(p >= Length() || At(p) == QLatin1Char('<')));
        return p;
    }

private:
    const QString& line_;
};

const QString kHref = QStringLiteral("HREF=");
const QString kSpotlightOn = QStringLiteral("<!-- SpotLight -->");
const QString kSpotlightOff = QStringLiteral("<!-- End SpotLight -->");
const QString kRedTag = QStringLiteral("<font color=\"red\">");

}  // namespace

QString EntryName(const QString& entry)
{
    const qsizetype equals = entry.indexOf(QLatin1Char('='));
    return equals < 0 ? entry : entry.left(equals);
}

QString EntryValue(const QString& entry)
{
    const qsizetype equals = entry.indexOf(QLatin1Char('='));
    return equals < 0 ? QString() : entry.mid(equals + 1);
}

QString ParsePressRelease(const QString& line, const QString& server)
{
    const LineScan scan(line);
    QString address = server + QStringLiteral("/whatsnew/pressreleases/");
    QString headline;
    qsizetype p = scan.Pos(kHref) + kHref.size();
    p = scan.ScanAddress(p, address);
    ++p;  // over the character that ended the address
    scan.ScanText(p, headline);
    return headline + QLatin1Char('=') + address;
}

QString ParseSpotlight(const QStringList& homeLines, const QString& server)
{
    QStringList section;
    bool on = false;
    for (const QString& line : homeLines) {
        if (line.contains(kSpotlightOn))
            on = true;
        else if (line.contains(kSpotlightOff))
            on = false;
        if (on) section << line;
    }

    QString text;
    QString address;
    for (const QString& line : std::as_const(section)) {
        const LineScan scan(line);
        if (const qsizetype tag = scan.Pos(kRedTag); tag > 0) scan.ScanText(tag + kRedTag.size(), text);
        if (const qsizetype href = scan.Pos(kHref); href > 0) {
            scan.ScanAddress(href + kHref.size(), address);
            if (!address.contains(QStringLiteral("http://"))) address.prepend(server);
        }
    }
    return text + QLatin1Char('=') + address;
}

QStringList BuildLinks(const QStringList& listingLines, const QStringList& homeLines, const QString& server)
{
    QStringList links;
    links << ParseSpotlight(homeLines, server);
    for (const QString& line : listingLines) {
        if (links.size() >= kMaxLinks) break;
        if (line.contains(QStringLiteral("viewpressrelease.asp?")) && line.contains(QStringLiteral("&langid=1")))
            links << ParsePressRelease(line, server);
    }
    return links;
}

QString FirstValueNamed(const QStringList& links, const QString& name)
{
    for (const QString& entry : links) {
        if (EntryName(entry).compare(name, Qt::CaseInsensitive) == 0) return EntryValue(entry);
    }
    return {};
}

QString WebAddressToOpen(const QString& address)
{
    const QString trimmed = address.trimmed();
    if (!trimmed.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) &&
        !trimmed.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return {};
    const QUrl url(trimmed, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty()) return {};
    return url.toString(QUrl::FullyEncoded);
}

}  // namespace quillon
