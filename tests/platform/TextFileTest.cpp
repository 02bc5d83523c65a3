// Writing a file whole or not at all, and reading it back with the engine's
// reader through the path form it takes.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "engine/TextFile.h"
#include "platform/TextFile.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/Unprivileged.h"

#include <csignal>

#include <sys/resource.h>

using namespace quillon;

namespace {

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

TEST(WholeFile, ReplacesTheFileAndReadsBackUnderAnyName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A name outside ASCII reaches the engine's reader intact.
    const QString path = dir.filePath(QString::fromUtf8("Angebot \u00e9t\u00e9.qlx"));
    ASSERT_EQ(WriteWholeFile(path, "first\r\nversion\r\n"), std::nullopt);
    ASSERT_EQ(WriteWholeFile(path, "[data]\r\nBegFreq=806\r\n"), std::nullopt);
    EXPECT_EQ(Contents(path), QByteArray("[data]\r\nBegFreq=806\r\n"));

    const TextLines read = ReadTextLines(FilePathForEngine(path));
    EXPECT_FALSE(read.Error.has_value());
    EXPECT_EQ(read.Lines, (std::vector<std::string>{"[data]", "BegFreq=806"}));
}

TEST(WholeFile, AFailureNamesTheFileGivesTheReasonAndLeavesNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_EQ(WriteWholeFile(dir.filePath("blocker"), "plain file"), std::nullopt);
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.qlx"));
    // Under a regular file nothing can be made, whoever runs the test; a
    // folder is not replaced by a file.
    for (const QString& path : {dir.filePath("blocker/list.qlx"), dir.filePath("taken.qlx")}) {
        SCOPED_TRACE(path.toStdString());
        const auto failure = WriteWholeFile(path, "x||\r\n");
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->File, path);
        EXPECT_FALSE(failure->Reason.isEmpty());
    }
    EXPECT_EQ(Contents(dir.filePath("blocker")), QByteArray("plain file"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"blocker"}) << "no temporary file is left";
}

TEST(WholeFile, AWriterThatIsNotCommittedLeavesTheTargetAsItWas)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("new.exe");
    ASSERT_EQ(WriteWholeFile(path, "old installer"), std::nullopt);
    {
        WholeFileWriter writer(path);
        ASSERT_EQ(writer.Open(), std::nullopt);
        ASSERT_EQ(writer.Append("half of a new one"), std::nullopt);
    }
    EXPECT_EQ(Contents(path), QByteArray("old installer"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"new.exe"});

    WholeFileWriter writer(path);
    ASSERT_EQ(writer.Open(), std::nullopt);
    ASSERT_EQ(writer.Append("new "), std::nullopt);
    ASSERT_EQ(writer.Append("installer"), std::nullopt);
    ASSERT_EQ(writer.Commit(), std::nullopt);
    EXPECT_EQ(Contents(path), QByteArray("new installer"));
}

// An existing file the user may write, in a folder the user may not: it is
// written in place. A new file there cannot be made, and says why.
TEST(WholeFile, AWritableFileInAReadOnlyFolderIsWrittenInPlace)
{
    QUILLON_RUN_UNPRIVILEGED();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("offer.qlx");
    ASSERT_EQ(WriteWholeFile(path, "old"), std::nullopt);
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const auto written = WriteWholeFile(path, "new\r\n");
    const auto refused = WriteWholeFile(dir.filePath("another.qlx"), "x");
    const QStringList entries = QDir(dir.path()).entryList(QDir::Files);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(written, std::nullopt);
    EXPECT_EQ(Contents(path), QByteArray("new\r\n"));
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->Reason, QStringLiteral("Permission denied"));
    EXPECT_EQ(entries, QStringList{"offer.qlx"});
}

// A disk that fills half-way (here a file-size limit, which the write meets
// the same way): the write fails with the reason, the old file stays whole
// and no temporary file is left. Written in one piece and in several.
TEST(WholeFile, ADiskThatFillsHalfWayLeavesTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("export.csv");
    ASSERT_EQ(WriteWholeFile(path, "old rows\r\n"), std::nullopt);
    const QByteArray big(256 * 1024, 'x');

    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = before;
    limited.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const auto whole = WriteWholeFile(path, big);
    std::optional<FileWriteError> pieces;
    {
        WholeFileWriter writer(path);
        pieces = writer.Open();
        for (int i = 0; i < 8 && !pieces; ++i) pieces = writer.Append(big.left(32 * 1024 + 7));
        if (!pieces) pieces = writer.Commit();
    }
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    for (const auto& failure : {whole, pieces}) {
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->File, path);
        EXPECT_EQ(failure->Reason, QStringLiteral("File too large"));
    }
    EXPECT_EQ(Contents(path), QByteArray("old rows\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"export.csv"});
}

}  // namespace
