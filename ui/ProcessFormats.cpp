#include "ui/ProcessFormats.h"

#include <clocale>

#include <QLocale>

namespace quillon {

void FixProcessFormats()
{
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}

}  // namespace quillon
