#include "output/ExportFile.h"

#include <QDir>

#include "platform/Messages.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"

namespace quillon {

QString ExportFolder(const Paths& paths, const QString& name)
{
    const QDir program(paths.ProgramFolder());
    // mkdir, not mkpath: a missing program folder is not ours to make, and the
    // write that follows then reports the file it could not create.
    if (!program.exists(name)) program.mkdir(name);
    return program.filePath(name);
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
