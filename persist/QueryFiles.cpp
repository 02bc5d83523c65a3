#include "persist/QueryFiles.h"

#include <algorithm>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "engine/ProfileText.h"
#include "engine/QueryFileValues.h"
#include "engine/TextEncoding.h"
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

// A file that holds UTF-8 beyond ASCII stays UTF-8 when it is saved over;
// everything else is written in the 8-bit form where it fits.
bool HoldsUtf8(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const bool beyondAscii = std::any_of(view.begin(), view.end(), [](char c) { return (c & 0x80) != 0; });
    return beyondAscii && IsValidUtf8(view);
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
    // The box names the file and the reason, so that the user knows what to change.
    const QString error = QString::fromLatin1(kUnableToWriteTo) + QDir::toNativeSeparators(path);
    const auto because = [&error](const QString& reason) { return error + QStringLiteral(": ") + reason; };

    std::vector<std::string> fileLines;
    const QFileInfo info(path);
    bool keepUtf8 = false;
    if (info.exists()) {
        // Rewriting a file we could not read would lose its other sections.
        if (info.isDir()) return because(QStringLiteral("it is a folder"));
        if (!info.isFile()) return because(QStringLiteral("it is not a regular file"));
        if (MarkedReadOnly(info)) return because(QStringLiteral("the file is marked read-only"));
        TextLines existing = ReadTextLines(FilePathForEngine(path));
        if (existing.Error) return because(QString::fromLocal8Bit(existing.Error->Reason.c_str()));
        fileLines = std::move(existing.Lines);
        keepUtf8 = HoldsUtf8(path);
    }
    fileLines = WriteIniSection(std::move(fileLines), kQuerySection, keyValueLines);

    std::string text;
    for (const std::string& line : fileLines) text += line + "\r\n";
    if (!keepUtf8) text = EightBitWherePossible(text);
    const QByteArray bytes = QByteArray::fromStdString(text);
    // Whole or not at all: a failure half-way never leaves a half-written
    // query file behind.
    if (const auto failure = WriteWholeFile(path, bytes)) return because(failure->Reason);
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
