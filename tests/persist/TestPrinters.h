#pragma once
// Readable GoogleTest messages for loaded settings (and, through the shared
// printers, for Qt texts).

#include <ostream>

#include "persist/RegistrySettings.h"
#include "tests/support/QtPrinters.h"

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
