#include "online/InstallerSums.h"

#include <QCryptographicHash>
#include <QFile>

namespace quillon {

QHash<QString, QByteArray> ParseSha256Sums(const QByteArray& text)
{
    QHash<QString, QByteArray> sums;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        const qsizetype blank = line.indexOf(' ');
        if (blank != 64) continue;
        const QByteArray sum = line.left(64).toLower();
        bool hex = true;
        for (const char c : sum) hex = hex && ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'));
        // "sum  name" in text mode, "sum *name" in binary mode.
        if (!hex || line.size() < 67 || (line[65] != ' ' && line[65] != '*')) continue;
        const QString name = QString::fromUtf8(line.mid(66));
        if (!name.isEmpty() && !sums.contains(name)) sums.insert(name, sum);
    }
    return sums;
}

QByteArray FileSha256(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) return {};
    return hash.result().toHex();
}

}  // namespace quillon
