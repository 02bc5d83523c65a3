#pragma once
// Readable GoogleTest messages for Qt texts and loaded settings.

#include <ostream>

#include <QString>
#include <QStringList>

#include "persist/RegistrySettings.h"

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << '{';
    for (qsizetype i = 0; i < list.size(); ++i)
        *out << (i == 0 ? "\"" : ", \"") << list[i].toStdString() << '"';
    *out << '}';
}

namespace quillon {

inline void PrintTo(StoredValue value, std::ostream* out) { *out << StoredValueName(value).toStdString(); }

inline void PrintTo(const LoadedValue& value, std::ostream* out)
{
    *out << StoredValueName(value.Name).toStdString() << '=';
    if (IsStoredFlag(value.Name))
        *out << (value.Flag ? "on" : "off");
    else
        *out << '"' << value.Text.toStdString() << '"';
}

}  // namespace quillon
