#include "platform/TextFile.h"

#include <QFile>

namespace quillon {

WholeFileWriter::WholeFileWriter(const QString& path) : path_(path), file_(path) {}

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
    if (!file_.open(QIODevice::WriteOnly)) return Fail();
    return std::nullopt;
}

std::optional<FileWriteError> WholeFileWriter::Append(const QByteArray& bytes)
{
    if (error_) return error_;
    if (file_.write(bytes) != bytes.size()) return Fail();
    return std::nullopt;
}

std::optional<FileWriteError> WholeFileWriter::Commit()
{
    if (error_) return error_;
    if (!file_.commit()) return Fail();
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
