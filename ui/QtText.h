#pragma once
// The engine keeps text as 8-bit Latin-1 strings (as the catalogue files hold
// it); the windows hold QStrings. These are the only two crossings.

#include <string>
#include <string_view>

#include <QString>

namespace quillon {

inline QString FromEngine(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Characters outside Latin-1 become "?", which no number or part number holds.
inline std::string ToEngine(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace quillon
