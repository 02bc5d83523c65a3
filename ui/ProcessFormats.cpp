#include "ProcessFormats.h"

#include <clocale>

#include <QLocale>

namespace quillon {

void FixProcessFormats()
{
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}

QString FormatShortDate(const QDate& date) { return date.toString(QLatin1String(kShortDateFormat)); }

QDate ReadShortDate(const QString& text) { return QDate::fromString(text, QLatin1String(kShortDateFormat)); }

}  // namespace quillon
