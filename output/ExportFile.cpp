#include "output/ExportFile.h"

#include <QDir>

#include "platform/Messages.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"

namespace quillon {

QString ExportFolder(const Paths& paths, const QString& name)
{
    return UserFolder(paths, name);
}

bool WriteExportFile(const QString& path, const QByteArray& bytes, Messages& messages)
{
    const auto failure = WriteWholeFile(path, bytes);
    if (!failure) return true;
    messages.Error(QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path) + QStringLiteral(": ") +
                   failure->Reason);
    return false;
}

}  // namespace quillon
