// The command-line forms and what the window takes from them.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "engine/QueryFileValues.h"
#include "engine/QueryPageRules.h"
#include "engine/Search.h"
#include "tests/persist/TestPrinters.h"
#include "persist/CommandLine.h"
#include "persist/QueryFiles.h"

using namespace quillon;

namespace {

TEST(CommandLine, Forms)
{
    using enum CommandLineForm;
    struct Case {
        QStringList arguments;
        CommandLineForm form;
        QString queryFile;
        QString partNumber;
        bool commandLineFilling;
        std::optional<QString> openFile;
    };
    const QString notEnough = QString::fromLatin1(kNotEnoughParametersMessage);
    const std::vector<Case> cases{
        {{}, None, {}, {}, false, std::nullopt},
        {{"FILE", "/srv/q.qlx"}, QueryFile, "/srv/q.qlx", {}, false, "/srv/q.qlx"},
        {{"file", "C:\\My Queries\\tower 3.qlx"}, QueryFile, "C:\\My Queries\\tower 3.qlx", {}, false,
         "C:\\My Queries\\tower 3.qlx"},
        {{"FiLe", "q.qlx"}, QueryFile, "q.qlx", {}, false, "q.qlx"},
        {{"FILE"}, NotEnoughParameters, {}, {}, false, std::nullopt},
        {{"file", "a", "b"}, NotEnoughParameters, {}, {}, false, "a"},
        {{"QXF-050"}, PartNumber, {}, "QXF-050", true, std::nullopt},
        {{"QXF-050|100|M"}, PartNumber, {}, "QXF-050|100|M", true, std::nullopt},
        {{"qxf-050|100|m"}, PartNumber, {}, "qxf-050|100|m", true, std::nullopt},
        // A second, unrelated argument: selection by part number, ordinary filling.
        {{"QXF-050", "extra"}, PartNumber, {}, "QXF-050", false, "extra"},
        {{"FILE.qlx"}, PartNumber, {}, "FILE.qlx", true, std::nullopt},
        {{"FILE ", "q.qlx"}, PartNumber, {}, "FILE ", false, "q.qlx"},
        // Only ASCII letters change case: the ligature "fi" does not make "FILE".
        {{QStringLiteral("\uFB01le"), "q.qlx"}, PartNumber, {}, QStringLiteral("\uFB01le"), false, "q.qlx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(',')).toStdString());
        const CommandLine line = ParseCommandLine(c.arguments);
        EXPECT_EQ(line.Form, c.form);
        EXPECT_EQ(line.HasArguments(), !c.arguments.isEmpty());
        EXPECT_EQ(line.QueryFilePath, c.queryFile);
        EXPECT_EQ(line.CommandLinePartNumber, c.partNumber);
        EXPECT_EQ(line.CommandLineFilling, c.commandLineFilling);
        EXPECT_EQ(line.Error, c.form == NotEnoughParameters ? notEnough : QString());
        EXPECT_EQ(line.OpenFileArgument(), c.openFile);
    }
}

TEST(CommandLine, QueryFileFormOpensTheFileOverTheDefaults)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("tower 3.qlx"));
    ASSERT_EQ(WriteQueryFile(path, {"BegFreq=806", "EndFreq=960", "ByFreq=TRUE", "Foam=yes"}), std::nullopt);

    struct Case {
        const char* what;
        QString path;
        std::vector<std::string> expected;  // QueryFileLines of the page afterwards
    };
    const std::vector<Case> cases{
        // Keys missing from the file take the file defaults: cable kinds off unless named.
        {"saved file", path,
         {"BegFreq=806", "EndFreq=960", "C1=", "C2=", "MaxLoss=0", "Length=0", "VSWR=1.1", "Units=M", "Foam=True",
          "Air=False", "Waveguide=False", "Braided=False", "ByFreq=True", "ByLoss=False", "ByC1=False",
          "ByC2=False"}},
        // A missing file leaves nothing on: the search then asks for a cable type.
        {"missing file", folder.filePath(QStringLiteral("gone.qlx")),
         {"BegFreq=0", "EndFreq=0", "C1=", "C2=", "MaxLoss=0", "Length=0", "VSWR=1.1", "Units=M", "Foam=False",
          "Air=False", "Waveguide=False", "Braided=False", "ByFreq=False", "ByLoss=False", "ByC1=False",
          "ByC2=False"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CommandLine line = ParseCommandLine({QStringLiteral("file"), c.path});
        ASSERT_EQ(line.Form, CommandLineForm::QueryFile);

        // The command-line defaults first: metres, every kind on, every switch off.
        const QueryPage defaults = CommandLineDefaults();
        EXPECT_EQ(QueryFileLines(defaults),
                  (std::vector<std::string>{"BegFreq=", "EndFreq=", "C1=", "C2=", "MaxLoss=0", "Length=0",
                                            "VSWR=1.1", "Units=M", "Foam=True", "Air=True", "Waveguide=True",
                                            "Braided=True", "ByFreq=False", "ByLoss=False", "ByC1=False",
                                            "ByC2=False"}));

        QueryPageLists lists;  // this mode never fills the lists from the catalogue
        std::vector<Message> messages;
        const QueryPage page = ApplyQueryFile(defaults, lists, ReadQueryFile(line.QueryFilePath), messages);
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(QueryFileLines(page), c.expected);
    }
}

}  // namespace
