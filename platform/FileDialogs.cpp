#include "platform/FileDialogs.h"

#include <algorithm>

#include <QStringList>

namespace quillon {

QString ToQtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList qtFilters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns = patterns.simplified();
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        if (patterns.isEmpty() || description.contains(QLatin1Char('(')))
            qtFilters << (description.isEmpty() ? patterns : description);
        else if (description.isEmpty())
            qtFilters << QStringLiteral("(%1)").arg(patterns);
        else
            qtFilters << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return qtFilters.join(QLatin1String(";;"));
}

QString WithDefaultExtension(const QString& path, const QString& extension)
{
    QString ext = extension;
    while (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    if (path.isEmpty() || ext.isEmpty())
        return path;
    // Both separators count: the program's own paths are written with backslashes.
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')),
                                     path.lastIndexOf(QLatin1Char('\\')));
    const QString name = path.mid(slash + 1);
    if (name.isEmpty() || name.contains(QLatin1Char('.')))
        return path;
    return path + QLatin1Char('.') + ext;
}

}  // namespace quillon
