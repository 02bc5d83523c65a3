// Query files on disk: reading the section, saving into existing files, and
// failing without harm.

#include <gtest/gtest.h>

#include <functional>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "engine/QueryFileValues.h"
#include "tests/persist/TestPrinters.h"
#include "persist/QueryFiles.h"
#include "tests/support/Unprivileged.h"

using namespace quillon;

namespace {

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QueryPage SamplePage()
{
    QueryPage page;
    page.BeginningFrequency = "806";
    page.EndingFrequency = "960";
    page.Connector1 = "N=Male";  // only the first "=" of a line separates key and value
    page.Connector2 = "7-16 DIN \xC2\xB5";  // UTF-8, as the engine holds it: the file gets it in 8 bits
    page.MaxLoss = "3";
    page.Length = "150";
    page.Vswr = "1.3";
    page.Meters = true;
    page.Foam = false;
    page.Air = true;
    page.Waveguide = false;
    page.Braided = true;
    page.ByFrequency = true;
    page.ByLoss = true;
    page.ByConnector1 = false;
    page.ByConnector2 = true;
    return page;
}

// The sixteen lines of SamplePage() as a save writes them: Windows-1252, as
// every character fits.
const QByteArray kSampleLines = "BegFreq=806\r\nEndFreq=960\r\nC1=N=Male\r\nC2=7-16 DIN \xB5\r\nMaxLoss=3\r\n"
                                "Length=150\r\nVSWR=1.3\r\nUnits=M\r\nFoam=False\r\nAir=True\r\nWaveguide=False\r\n"
                                "Braided=True\r\nByFreq=True\r\nByLoss=True\r\nByC1=False\r\nByC2=True\r\n";

class QueryFilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QStringList Entries() const { return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }

    QTemporaryDir folder;
};

TEST_F(QueryFilesTest, ReadsOnlyTheDataSectionAndNothingFromAFileWithoutIt)
{
    struct Case {
        const char* what;
        const char* bytes;  // nullptr: no file; "/": a folder by that name
        std::vector<std::string> section;
    };
    const std::vector<Case> cases{
        {"no file", nullptr, {}},
        {"a folder", "/", {}},
        {"empty file", "", {}},
        {"other sections only", "[other]\r\nBegFreq=806\r\n", {}},
        {"empty values only", "[data]\r\nBegFreq=\r\nC1=\r\n", {}},
        {"LF line ends, section in capitals", "[other]\nBegFreq=1\n[DATA]\nbegfreq=806\nC1=N=Male\n[x]\nC2=BNC",
         {"begfreq=806", "C1=N=Male"}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.what);
        const QString path = folder.filePath(QStringLiteral("case%1.qlx").arg(i));
        if (c.bytes && QByteArray(c.bytes) == "/")
            ASSERT_TRUE(QDir().mkdir(path));
        else if (c.bytes)
            WriteBytes(path, c.bytes);
        EXPECT_EQ(ReadQueryFile(path), c.section);
    }
}

TEST_F(QueryFilesTest, SaveThenOpenRestoresEveryValue)
{
    // A path with blanks, as a command line may name it.
    const QString path = folder.filePath(QStringLiteral("my queries.qlx"));
    const QueryPage saved = SamplePage();
    EXPECT_EQ(WriteQueryFile(path, QueryFileLines(saved)), std::nullopt);
    EXPECT_EQ(ReadBytes(path), "[data]\r\n" + kSampleLines);

    QueryPageLists lists{{"806"}, {"900"}, {"BNC", "N Male"}, {"BNC"}};
    std::vector<Message> messages;
    const QueryPage opened = ApplyQueryFile(QueryPage{}, lists, ReadQueryFile(path), messages);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(QueryFileLines(opened), QueryFileLines(saved));
    EXPECT_EQ(lists.Connector1, (std::vector<std::string>{"BNC", "N Male", "N=Male"}));

    // Saving again replaces the values in place.
    QueryPage changed = saved;
    changed.Length = "75";
    EXPECT_EQ(WriteQueryFile(path, QueryFileLines(changed)), std::nullopt);
    QByteArray expected = "[data]\r\n" + kSampleLines;
    expected.replace("Length=150", "Length=75");
    EXPECT_EQ(ReadBytes(path), expected);
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("my queries.qlx")});  // nothing left beside it
}

// The 8-bit form where every character fits, so that 8-bit readers of query
// files read what they always did; UTF-8 where one does not, and for a file
// that already held UTF-8. Either way the file opens as it was saved.
TEST_F(QueryFilesTest, SavesInEightBitsWhereTheyFitAndInUtf8Otherwise)
{
    struct Case {
        const char* what;
        QByteArray before;      // empty: no file yet
        const char* connector;  // UTF-8
        QByteArray written;     // the line C2= as the file holds it
    };
    const std::vector<Case> cases{
        {"Latin letters and the euro sign", {}, "C\xC3\xA2" "ble \xE2\x82\xAC", "C2=C\xE2" "ble \x80"},
        {"a letter Windows-1252 lacks", {}, "Omega \xCE\xA9", "C2=Omega \xCE\xA9"},
        {"into a file that was UTF-8", "[other]\r\nName=Tour \xC3\xA9st\r\n", "\xC3\xA2", "C2=\xC3\xA2"},
        {"into a file that was 8-bit", "[other]\r\nName=Tour \xE9st\r\n", "\xC3\xA2", "C2=\xE2"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.what);
        const QString path = folder.filePath(QStringLiteral("enc%1.qlx").arg(i));
        if (!c.before.isEmpty()) WriteBytes(path, c.before);
        QueryPage page = SamplePage();
        page.Connector2 = c.connector;
        ASSERT_EQ(WriteQueryFile(path, QueryFileLines(page)), std::nullopt);
        const QByteArray bytes = ReadBytes(path);
        EXPECT_TRUE(bytes.contains("\r\n" + c.written + "\r\n")) << bytes.toStdString();
        // The other section keeps its text, in the file's encoding.
        if (!c.before.isEmpty()) {
            EXPECT_TRUE(bytes.startsWith(c.before)) << bytes.toStdString();
        }

        QueryPageLists lists{{"806"}, {"900"}, {"BNC"}, {"BNC"}};
        std::vector<Message> messages;
        const QueryPage opened = ApplyQueryFile(QueryPage{}, lists, ReadQueryFile(path), messages);
        EXPECT_EQ(opened.Connector2, c.connector);
    }
}

TEST_F(QueryFilesTest, SavingOntoAFileKeepsEverythingElse)
{
    struct Case {
        const char* what;
        QByteArray before;
        QByteArray after;
    };
    const QByteArray lines = kSampleLines;
    const std::vector<Case> cases{
        {"other sections and keys, CR LF",
         "; written by hand\r\n[Header]\r\nTitle=Tower 3 = north\r\n\r\n[DATA]\r\nbegfreq=1\r\nNote=keep me\r\n"
         "units=f\r\n\r\n[tail]\r\nx=1\r\n",
         // Existing keys change in place, new ones follow the section's last line.
         "; written by hand\r\n[Header]\r\nTitle=Tower 3 = north\r\n\r\n[DATA]\r\nBegFreq=806\r\nNote=keep me\r\n"
         "Units=M\r\n" +
             QByteArray(lines).replace("BegFreq=806\r\n", "").replace("Units=M\r\n", "") + "\r\n[tail]\r\nx=1\r\n"},
        {"no data section, no final line end", "[Header]\r\nTitle=x", "[Header]\r\nTitle=x\r\n[data]\r\n" + lines},
        // Every line of a query file ends in CR LF, also those that came with LF.
        {"LF line ends", "[Header]\nTitle=x\n", "[Header]\r\nTitle=x\r\n[data]\r\n" + lines},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.what);
        const QString path = folder.filePath(QStringLiteral("case%1.qlx").arg(i));
        WriteBytes(path, c.before);
        EXPECT_EQ(WriteQueryFile(path, QueryFileLines(SamplePage())), std::nullopt);
        EXPECT_EQ(ReadBytes(path), c.after);
    }
}

TEST_F(QueryFilesTest, AFailedSaveNamesTheFileAndLeavesItAlone)
{
    const QByteArray kept = "[data]\r\nBegFreq=1\r\n";
    struct Case {
        const char* what;
        const char* name;
        std::function<void(const QString& path)> prepare;
        QString watched;  // the file or folder that must stay as it was
        const char* reason;
    };
    const QString blocker = folder.filePath(QStringLiteral("blocker"));
    const std::vector<Case> cases{
        {"parent is a regular file", "blocker/query.qlx", [&](const QString&) { WriteBytes(blocker, kept); },
         blocker, "Not a directory"},
        {"read-only file",
         "locked.qlx",
         [&](const QString& path) {
             WriteBytes(path, kept);
             ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
         },
         folder.filePath(QStringLiteral("locked.qlx")), "the file is marked read-only"},
        {"a folder by that name", "folder.qlx", [](const QString& path) { ASSERT_TRUE(QDir().mkdir(path)); },
         folder.filePath(QStringLiteral("folder.qlx")), "it is a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = folder.filePath(QString::fromLatin1(c.name));
        c.prepare(path);
        const QFileInfo watched(c.watched);
        const bool wasFolder = watched.isDir();
        const QStringList entries = Entries();

        EXPECT_EQ(WriteQueryFile(path, QueryFileLines(SamplePage())),
                  QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path) + QStringLiteral(": ") +
                      QLatin1String(c.reason));

        EXPECT_EQ(Entries(), entries);  // no temporary file left behind
        if (wasFolder)
            EXPECT_TRUE(QFileInfo(c.watched).isDir());
        else
            EXPECT_EQ(ReadBytes(c.watched), kept);
    }
}

// As a plain user: a query file the user may write, in a folder the user may
// not, is saved over; a new file there, or a file the user may not read, is
// refused with the system's reason and left as it was.
TEST_F(QueryFilesTest, ReadOnlyFolderAndUnreadableFileAsAPlainUserMeetsThem)
{
    QUILLON_RUN_UNPRIVILEGED();
    const QByteArray kept = "[data]\r\nBegFreq=1\r\n";
    const QString existing = folder.filePath(QStringLiteral("offer.qlx"));
    const QString unreadable = folder.filePath(QStringLiteral("secret.qlx"));
    WriteBytes(existing, kept);
    WriteBytes(unreadable, kept);
    ASSERT_TRUE(QFile::setPermissions(unreadable, QFile::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    const auto savedOver = WriteQueryFile(existing, QueryFileLines(SamplePage()));
    const QString fresh = folder.filePath(QStringLiteral("new.qlx"));
    const auto created = WriteQueryFile(fresh, QueryFileLines(SamplePage()));
    const auto overUnreadable = WriteQueryFile(unreadable, QueryFileLines(SamplePage()));
    const QStringList entries = Entries();
    ASSERT_TRUE(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    ASSERT_TRUE(QFile::setPermissions(unreadable, QFile::ReadOwner | QFile::WriteOwner));

    EXPECT_EQ(savedOver, std::nullopt);
    EXPECT_EQ(ReadBytes(existing), "[data]\r\n" + kSampleLines);
    const QString unable = QStringLiteral("Unable to write to ");
    EXPECT_EQ(created, unable + QDir::toNativeSeparators(fresh) + QStringLiteral(": Permission denied"));
    EXPECT_EQ(overUnreadable, unable + QDir::toNativeSeparators(unreadable) + QStringLiteral(": Permission denied"));
    EXPECT_EQ(ReadBytes(unreadable), kept);
    EXPECT_EQ(entries, (QStringList{"offer.qlx", "secret.qlx"}));
}

TEST_F(QueryFilesTest, EnsureFolderMakesOneLevelOnly)
{
    const QString program = folder.path();
    const QString qlx = QString::fromLatin1(kQueryFolderName);

    EXPECT_TRUE(EnsureFolder(program, qlx));
    EXPECT_TRUE(QFileInfo(FolderPath(program, qlx)).isDir());
    EXPECT_TRUE(EnsureFolder(program, qlx));  // already there

    // A missing program folder is not made.
    const QString missing = folder.filePath(QStringLiteral("gone"));
    EXPECT_FALSE(EnsureFolder(missing, qlx));
    EXPECT_FALSE(QFileInfo::exists(missing));

    // A file by that name stays a file.
    const QString other = folder.filePath(QStringLiteral("other"));
    ASSERT_TRUE(QDir().mkdir(other));
    WriteBytes(FolderPath(other, qlx), "x");
    EXPECT_FALSE(EnsureFolder(other, qlx));
    EXPECT_EQ(ReadBytes(FolderPath(other, qlx)), "x");
}

}  // namespace
