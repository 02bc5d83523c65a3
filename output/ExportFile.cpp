#include "output/ExportFile.h"

#include <QDir>
#include <QSaveFile>

#include "platform/Messages.h"
#include "platform/Paths.h"

namespace quillon {

QString ExportFolder(const Paths& paths, const QString& name)
{
    const QDir program(paths.ProgramFolder());
    // mkdir, not mkpath: a missing program folder is not ours to make, and the
    // write that follows then reports the file it could not create.
    if (!program.exists(name)) program.mkdir(name);
    return program.filePath(name);
}

QString WriteErrorText(const QString& path, const QString& reason)
{
    return QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes, Messages& messages)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        messages.Error(WriteErrorText(path, file.errorString()));
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        messages.Error(WriteErrorText(path, reason));
        return false;
    }
    if (!file.commit()) {
        messages.Error(WriteErrorText(path, file.errorString()));
        return false;
    }
    return true;
}

}  // namespace quillon
