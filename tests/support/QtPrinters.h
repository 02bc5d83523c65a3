#pragma once
// Readable GoogleTest messages for Qt values: texts, lists of texts and bytes.
// Every test executable prints them the same way.

#include <ostream>

#include <QByteArray>
#include <QString>
#include <QStringList>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

inline void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << '{';
    for (qsizetype i = 0; i < list.size(); ++i) *out << (i == 0 ? "\"" : ", \"") << list[i].toStdString() << '"';
    *out << '}';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* out) { *out << '"' << bytes.toStdString() << '"'; }
