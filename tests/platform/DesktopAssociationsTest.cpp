// Finding a spreadsheet program through desktop files in a made-up XDG tree.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/support/QtPrinters.h"
#include "platform/DesktopAssociations.h"

using namespace quillon;

namespace {

const QString kXls = QStringLiteral("application/vnd.ms-excel");

class DesktopAssociationsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        folders.configDirs = {root.filePath(QStringLiteral("config"))};
        folders.dataDirs = {root.filePath(QStringLiteral("local")), root.filePath(QStringLiteral("share"))};
    }

    void Write(const QString& relative, const QByteArray& content)
    {
        const QString path = root.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    static QByteArray DesktopEntry(const QByteArray& mimeTypes, const QByteArray& extra = {})
    {
        return "[Desktop Entry]\nType=Application\nName=Sheets\nExec=sheets %U\nMimeType=" + mimeTypes
               + "\n" + extra;
    }

    QTemporaryDir root;
    DesktopFolders folders;
};

TEST_F(DesktopAssociationsTest, NothingInstalledMeansNoSpreadsheetProgram)
{
    EXPECT_FALSE(MimeTypeHasApplication(kXls, folders));
    Write(QStringLiteral("share/applications/viewer.desktop"), DesktopEntry("image/png;text/plain;"));
    EXPECT_FALSE(MimeTypeHasApplication(kXls, folders));
}

TEST_F(DesktopAssociationsTest, ADesktopFileListingTheTypeCounts)
{
    struct Case {
        const char* name;
        QByteArray entry;
        bool counts;
    };
    const QByteArray withType = "text/csv;application/vnd.ms-excel;";
    for (const Case& c : {Case{"plain", DesktopEntry(withType), true},
                          Case{"hidden", DesktopEntry(withType, "Hidden=true\n"), false},
                          Case{"try-exec present", DesktopEntry(withType, "TryExec=/bin/sh\n"), true},
                          Case{"try-exec missing", DesktopEntry(withType, "TryExec=/nonexistent/sheets\n"), false},
                          Case{"other group only", "[Other]\nMimeType=application/vnd.ms-excel;\n", false}}) {
        SCOPED_TRACE(c.name);
        Write(QStringLiteral("share/applications/sheets.desktop"), c.entry);
        EXPECT_EQ(MimeTypeHasApplication(kXls, folders), c.counts);
    }
}

TEST_F(DesktopAssociationsTest, FindsDesktopFilesInSubfolders)
{
    Write(QStringLiteral("local/applications/vendor/sheets.desktop"), DesktopEntry("application/vnd.ms-excel;"));
    EXPECT_TRUE(MimeTypeHasApplication(kXls, folders));
}

TEST_F(DesktopAssociationsTest, MimeappsListDefaultsAndRemovals)
{
    // An application associated only through mimeapps.list.
    Write(QStringLiteral("share/applications/calc.desktop"), DesktopEntry("text/csv;"));
    Write(QStringLiteral("config/mimeapps.list"), "[Default Applications]\napplication/vnd.ms-excel=calc.desktop;\n");
    EXPECT_TRUE(MimeTypeHasApplication(kXls, folders));

    // Naming an application that is not installed does not count.
    Write(QStringLiteral("config/mimeapps.list"), "[Added Associations]\napplication/vnd.ms-excel=gone.desktop;\n");
    EXPECT_FALSE(MimeTypeHasApplication(kXls, folders));

    // A removed association takes the application's own claim away.
    Write(QStringLiteral("share/applications/sheets.desktop"), DesktopEntry("application/vnd.ms-excel;"));
    Write(QStringLiteral("config/mimeapps.list"), "[Removed Associations]\napplication/vnd.ms-excel=sheets.desktop;\n");
    EXPECT_FALSE(MimeTypeHasApplication(kXls, folders));
}

TEST(DesktopClasses, OnlyTheSpreadsheetClassIsKnown)
{
    EXPECT_EQ(MimeTypesForClass(QStringLiteral("Excel.Application")), QStringList{kXls});
    EXPECT_EQ(MimeTypesForClass(QStringLiteral("excel.application")), QStringList{kXls});
    EXPECT_EQ(MimeTypesForClass(QStringLiteral("Word.Application")), QStringList());
    EXPECT_FALSE(DesktopClassRegistered(QStringLiteral("Word.Application")));
}

}  // namespace
