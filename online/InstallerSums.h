#pragma once
// The SHA-256 sums the server lists beside its installers, in a file named
// SHA256SUMS ("sum  name" lines, as sha256sum writes them). A downloaded
// installer is started only when its sum matches the listed one: the
// downloads run over plain http, and anyone on the way could hand over a
// program of their own.

#include <QByteArray>
#include <QHash>
#include <QString>

namespace quillon {

inline constexpr char kSumsFileName[] = "SHA256SUMS";

// Name -> sum in lower-case hex. Lines that are no "sum  name" pair are passed
// over; a name read in binary mode ("sum *name") counts the same.
QHash<QString, QByteArray> ParseSha256Sums(const QByteArray& text);

// The file's SHA-256 in lower-case hex; empty when it cannot be read.
QByteArray FileSha256(const QString& path);

}  // namespace quillon
