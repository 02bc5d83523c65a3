#pragma once
// The engine keeps text as UTF-8 strings (engine/TextEncoding.h: files are
// decoded as they are read); the windows hold QStrings. These are the only
// two crossings.

#include <string>
#include <string_view>

#include <QString>

namespace quillon {

inline QString FromEngine(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToEngine(const QString& text) { return text.toStdString(); }

}  // namespace quillon
