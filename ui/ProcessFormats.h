#pragma once
// Number and date formats for the whole process, fixed before any window
// exists so that every conversion between numbers and text uses "." whatever
// the user's regional settings say.

#include <QDate>
#include <QString>

namespace quillon {

// Short dates as the program writes and reads them.
inline constexpr char kShortDateFormat[] = "MM/dd/yyyy";

// Call right after constructing QApplication, which adopts the user's
// LC_NUMERIC: puts the C library and QLocale back to "." decimals.
void FixProcessFormats();

QString FormatShortDate(const QDate& date);
// An invalid date when the text is not a short date.
QDate ReadShortDate(const QString& text);

}  // namespace quillon
