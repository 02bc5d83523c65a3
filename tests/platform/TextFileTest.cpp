// Writing a file whole or not at all, and reading it back with the engine's
// reader through the path form it takes.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "engine/TextFile.h"
#include "platform/TextFile.h"
#include "tests/support/QtPrinters.h"

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

}  // namespace
