#include "platform/TextFile.h"

#include <QFile>

namespace quillon {

WholeFileWriter::WholeFileWriter(const QString& path) : path_(path), file_(path)
{
    // A folder the user may not write, holding a file the user may: the file
    // is written in place, as the user expects of a file they may change.
    // Wherever the folder allows a file beside the target the write stays
    // whole or nothing.
    file_.setDirectWriteFallback(true);
}

std::optional<FileWriteError> WholeFileWriter::Fail()
{
    if (!error_) error_ = FileWriteError{path_, file_.errorString()};
    // The temporary file goes; the target is untouched.
    file_.cancelWriting();
    return error_;
}

std::optional<FileWriteError> WholeFileWriter::Open()
{
    if (error_) return error_;
    // Unbuffered: each write reaches the system at once, and a refusal (a full
    // disk) comes back from that write with the system's reason, not later
    // from a flush that has lost it.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return Fail();
    return std::nullopt;
}

std::optional<FileWriteError> WholeFileWriter::Append(const QByteArray& bytes)
{
    if (error_) return error_;
    // A write the system takes only in part returns short without a reason;
    // the next one, refused outright, carries the system's reason.
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 written = file_.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) return Fail();
        done += written;
    }
    if (!file_.flush() || file_.error() != QFileDevice::NoError) return Fail();
    return std::nullopt;
}

std::optional<FileWriteError> WholeFileWriter::Commit()
{
    if (error_) return error_;
    if (!file_.flush() || file_.error() != QFileDevice::NoError || !file_.commit()) return Fail();
    return std::nullopt;
}

std::optional<FileWriteError> WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    WholeFileWriter writer(path);
    if (auto error = writer.Open()) return error;
    if (auto error = writer.Append(bytes)) return error;
    return writer.Commit();
}

std::string FilePathForEngine(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace quillon
