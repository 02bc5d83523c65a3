#pragma once
// Reading the spotlight item and the press-release headlines out of two pages
// of the maker's web site. The pages are taken as plain lines with fixed
// markers; nothing else of HTML is understood. Every scan stays inside its
// line and stops at the line's end.
//
// An entry is "headline=address": its name is the text before the first "=",
// its value the text after it.

#include <QString>
#include <QStringList>

namespace quillon {

// The most entries a link list holds: the spotlight and nine headlines.
inline constexpr int kMaxLinks = 10;

QString EntryName(const QString& entry);
QString EntryValue(const QString& entry);

// One listing line: the headline after the link and the link, made absolute
// with server + "/whatsnew/pressreleases/". Marker matches count case.
QString ParsePressRelease(const QString& line, const QString& server);

// The spotlight item of the home page: the red text and the link found
// between the "<!-- SpotLight -->" and "<!-- End SpotLight -->" markers; a
// link without "http://" gets the server in front. "=" when there is none.
QString ParseSpotlight(const QStringList& homeLines, const QString& server);

// Entry 0 is the spotlight, then up to nine headlines from the listing lines
// that hold both "viewpressrelease.asp?" and "&langid=1", in page order.
QStringList BuildLinks(const QStringList& listingLines, const QStringList& homeLines, const QString& server);

// The first entry whose name equals name, ignoring case; empty when none.
QString FirstValueNamed(const QStringList& links, const QString& name);

// Only web addresses may leave the program for the browser: a page from the
// network must not make it open a local file or start a program. Gives the
// address to hand to the shell, fully encoded, for an "http://" or
// "https://" address with a host; empty for anything else.
QString WebAddressToOpen(const QString& address);

}  // namespace quillon
