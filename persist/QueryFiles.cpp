#include "persist/QueryFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "engine/ProfileText.h"
#include "engine/QueryFileValues.h"
#include "engine/TextFile.h"
#include "platform/TextFile.h"

namespace quillon {
namespace {

// The file's lines; nothing when it cannot be read, which is logged.
std::optional<std::vector<std::string>> ReadLines(const QString& path)
{
    TextLines read = ReadTextLines(FilePathForEngine(path));
    if (read.Error) {
        qWarning("Query file %s cannot be read: %s", qUtf8Printable(QDir::toNativeSeparators(path)),
                 read.Error->Reason.c_str());
        return std::nullopt;
    }
    return std::move(read.Lines);
}

// Read-only in the sense a user means it: nobody may write it. The
// permission check of the system alone would let an administrator replace
// such a file without a word.
bool MarkedReadOnly(const QFileInfo& info)
{
    const QFile::Permissions anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return !(info.permissions() & anyWrite);
}

}  // namespace

std::vector<std::string> ReadQueryFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return {};
    const auto lines = ReadLines(path);
    return lines ? ReadIniSection(*lines, kQuerySection) : std::vector<std::string>{};
}

std::optional<QString> WriteQueryFile(const QString& path, const std::vector<std::string>& keyValueLines)
{
    const QString error = QString::fromLatin1(kUnableToWriteTo) + QDir::toNativeSeparators(path);

    std::vector<std::string> fileLines;
    const QFileInfo info(path);
    if (info.exists()) {
        // Rewriting a file we could not read would lose its other sections.
        if (!info.isFile() || MarkedReadOnly(info))
            return error;
        auto existing = ReadLines(path);
        if (!existing)
            return error;
        fileLines = std::move(*existing);
    }
    fileLines = WriteIniSection(std::move(fileLines), kQuerySection, keyValueLines);

    QByteArray bytes;
    for (const std::string& line : fileLines) {
        bytes.append(line.data(), static_cast<qsizetype>(line.size()));
        bytes.append("\r\n");
    }
    // Whole or not at all: a failure half-way never leaves a half-written
    // query file behind. The box names the file; the reason goes to the log.
    if (const auto failure = WriteWholeFile(path, bytes)) {
        qWarning("%s: %s", qUtf8Printable(error), qUtf8Printable(failure->Reason));
        return error;
    }
    return std::nullopt;
}

QString FolderPath(const QString& parent, const QString& name) { return QDir(parent).filePath(name); }

bool EnsureFolder(const QString& parent, const QString& name)
{
    if (QFileInfo(FolderPath(parent, name)).isDir())
        return true;
    return QDir(parent).mkdir(name);
}

}  // namespace quillon
