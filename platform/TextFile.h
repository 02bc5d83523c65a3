#pragma once
// Writing a file whole or not at all: the bytes go into a file beside the
// target, which takes the target's place only once every byte is written
// (QSaveFile). A failure names the file and gives the system's reason; the
// caller decides how to show it. Reading is the other half,
// engine/TextFile.h; FilePathForEngine gives it a QString path.

#include <optional>
#include <string>

#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace quillon {

struct FileWriteError {
    QString File;    // the path as given
    QString Reason;  // the system's words
};

// A file written piece by piece and put in place by Commit(); when the
// writer goes without a commit, the target stays as it was.
class WholeFileWriter {
public:
    explicit WholeFileWriter(const QString& path);
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;

    // Each returns the first failure met so far; after one, nothing more is
    // written and Commit() leaves the target alone.
    std::optional<FileWriteError> Open();
    std::optional<FileWriteError> Append(const QByteArray& bytes);
    std::optional<FileWriteError> Commit();

private:
    std::optional<FileWriteError> Fail();

    QString path_;
    QSaveFile file_;
    std::optional<FileWriteError> error_;
};

// Replaces the file at path with the bytes, all or nothing.
std::optional<FileWriteError> WriteWholeFile(const QString& path, const QByteArray& bytes);

// The path in the system's 8-bit file-name encoding, as the engine's reader takes it.
std::string FilePathForEngine(const QString& path);

}  // namespace quillon
