// The settings store against real files in a temporary folder.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/platform/StoreWriter.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/StoreRewrites.h"
#include "platform/SettingsStore.h"

using namespace quillon;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    // A store object as each caller makes one: fresh, reading the file anew.
    SettingsStore Store() { return SettingsStore(file, [this](const SettingsProblem& p) { reported.append(p); }); }

    QStringList FolderEntries() const
    {
        return QDir(QFileInfo(file).absolutePath()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir folder;
    // The folder of the file does not exist yet: the first write makes it.
    QString file = folder.filePath(QStringLiteral("config/Tarvex/registry.json"));
    QList<SettingsProblem> reported;
};

TEST_F(SettingsStoreTest, KeepsTextAndNumbersApart)
{
    {
        SettingsStore store = Store();
        ASSERT_TRUE(store.OpenKey(QStringLiteral("\\Software\\Tarvex\\Quillon\\Settings"), true));
        ASSERT_TRUE(store.WriteString(QStringLiteral("Length"), QStringLiteral("42")));
        ASSERT_TRUE(store.WriteInteger(QStringLiteral("Currency"), 42));
        ASSERT_TRUE(store.WriteBool(QStringLiteral("Save"), true));
        ASSERT_TRUE(store.WriteBool(QStringLiteral("ByLoss"), false));
        ASSERT_TRUE(store.WriteInteger(QStringLiteral("Lowest"), std::numeric_limits<qint32>::min()));
        ASSERT_TRUE(store.WriteInteger(QStringLiteral("Highest"), std::numeric_limits<qint32>::max()));
        ASSERT_TRUE(store.WriteString(QStringLiteral("Empty"), QString()));
        store.CloseKey();
    }
    SettingsStore store = Store();
    ASSERT_TRUE(store.OpenKey(QStringLiteral("Software\\Tarvex\\Quillon\\Settings"), false));

    EXPECT_EQ(store.ReadString(QStringLiteral("Length")), QStringLiteral("42"));
    EXPECT_EQ(store.ReadInteger(QStringLiteral("Length")), std::nullopt);  // text is no number
    EXPECT_EQ(store.ReadBool(QStringLiteral("Length")), std::nullopt);
    EXPECT_EQ(store.ReadInteger(QStringLiteral("Currency")), 42);
    EXPECT_EQ(store.ReadString(QStringLiteral("Currency")), std::nullopt);  // a number is no text
    EXPECT_EQ(store.ReadBool(QStringLiteral("Currency")), true);            // non-zero reads as true
    EXPECT_EQ(store.ReadInteger(QStringLiteral("Save")), 1);
    EXPECT_EQ(store.ReadBool(QStringLiteral("ByLoss")), false);
    EXPECT_EQ(store.ReadInteger(QStringLiteral("Lowest")), std::numeric_limits<qint32>::min());
    EXPECT_EQ(store.ReadInteger(QStringLiteral("Highest")), std::numeric_limits<qint32>::max());
    EXPECT_EQ(store.ReadString(QStringLiteral("Empty")), QString());
    EXPECT_TRUE(store.ValueExists(QStringLiteral("Empty")));

    // Missing: empty text, but a failed number.
    EXPECT_FALSE(store.ValueExists(QStringLiteral("VSWR")));
    EXPECT_EQ(store.ReadString(QStringLiteral("VSWR")), QString());
    EXPECT_EQ(store.ReadInteger(QStringLiteral("VSWR")), std::nullopt);
    EXPECT_EQ(store.ReadBool(QStringLiteral("VSWR")), std::nullopt);
    EXPECT_FALSE(store.LastError().isEmpty());

    // On disk too the two are told apart.
    const QByteArray json = ReadAll(file);
    EXPECT_TRUE(json.contains("\"number\": 42")) << json.constData();
    EXPECT_TRUE(json.contains("\"text\": \"42\"")) << json.constData();
}

TEST_F(SettingsStoreTest, AWriteReplacesAValueOfTheOtherType)
{
    SettingsStore store = Store();
    ASSERT_TRUE(store.OpenKey(QStringLiteral("Software\\Tarvex\\News"), true));
    ASSERT_TRUE(store.WriteInteger(QStringLiteral("Interval"), 30));
    ASSERT_TRUE(store.WriteString(QStringLiteral("Interval"), QStringLiteral("45")));
    EXPECT_EQ(store.ReadString(QStringLiteral("Interval")), QStringLiteral("45"));
    EXPECT_EQ(store.ReadInteger(QStringLiteral("Interval")), std::nullopt);
    ASSERT_TRUE(store.WriteInteger(QStringLiteral("Interval"), 7));
    EXPECT_EQ(store.ReadInteger(QStringLiteral("Interval")), 7);
    EXPECT_EQ(store.ReadAllValues(QStringLiteral("Software\\Tarvex\\News"))->size(), 1);
}

// Several values go in with one rewrite of the file, the key made on the
// way; values already there as given cause none; a value of the other type,
// or one that changed, is replaced where it stands.
TEST_F(SettingsStoreTest, ValuesWrittenTogetherCostOneRewrite)
{
    const QString key = QStringLiteral("Software\\Tarvex\\Quillon\\Settings");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
    test::StoreRewrites rewrites(file);
    ASSERT_TRUE(rewrites.Watching());
    const QList<SettingsValueWrite> values{{QStringLiteral("Length"), QStringLiteral("42"), 0},
                                           {QStringLiteral("Feet"), std::nullopt, 1},
                                           {QStringLiteral("Empty"), QString(), 0}};
    SettingsStore store = Store();
    ASSERT_TRUE(store.WriteValues(key, values));
    EXPECT_EQ(rewrites.Take(), 1);
    EXPECT_FALSE(store.HasOpenKey());
    EXPECT_EQ(store.ReadAllValues(key),
              (QList<SettingsValueText>{{QStringLiteral("Length"), QStringLiteral("42")},
                                        {QStringLiteral("Feet"), QStringLiteral("1")},
                                        {QStringLiteral("Empty"), QString()}}));

    // The same again, in another letter case: nothing to write.
    ASSERT_TRUE(Store().WriteValues(key.toUpper(), {{QStringLiteral("LENGTH"), QStringLiteral("42"), 0},
                                                    {QStringLiteral("Feet"), std::nullopt, 1}}));
    EXPECT_EQ(rewrites.Take(), 0);

    // A changed value, one of the other type and a new one: one rewrite.
    ASSERT_TRUE(Store().WriteValues(key, {{QStringLiteral("Feet"), std::nullopt, 0},
                                          {QStringLiteral("Length"), std::nullopt, 42},
                                          {QStringLiteral("Currency"), std::nullopt, 20}}));
    EXPECT_EQ(rewrites.Take(), 1);
    SettingsStore reader = Store();
    ASSERT_TRUE(reader.OpenKey(key, false));
    EXPECT_EQ(reader.ReadInteger(QStringLiteral("Length")), 42);
    EXPECT_EQ(reader.ReadBool(QStringLiteral("Feet")), false);
    EXPECT_EQ(reader.ReadInteger(QStringLiteral("Currency")), 20);
    EXPECT_EQ(reader.ReadAllValues(key)->size(), 4);

    // Too deep a key is refused before anything is written.
    EXPECT_FALSE(Store().WriteValues(QStringLiteral("k\\").repeated(300), values));
    EXPECT_EQ(rewrites.Take(), 0);
}

// Values of several keys go in with one rewrite, every one or none.
TEST_F(SettingsStoreTest, KeysWrittenTogetherCostOneRewrite)
{
    const QString first = QStringLiteral("Software\\Tarvex\\Freshline");
    const QString second = QStringLiteral("Software\\Tarvex\\News");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
    test::StoreRewrites rewrites(file);
    ASSERT_TRUE(rewrites.Watching());
    const QList<SettingsKeyWrite> keys{
        {first, {{QStringLiteral("NextUpdate"), QStringLiteral("02/14/2024"), 0}, {QStringLiteral("Interval"), QStringLiteral("30"), 0}}},
        {second, {{QStringLiteral("NextUpdate"), QStringLiteral("01/22/2024"), 0}}}};
    ASSERT_TRUE(Store().WriteKeys(keys));
    EXPECT_EQ(rewrites.Take(), 1);
    SettingsStore reader = Store();
    EXPECT_EQ(reader.ReadAllValues(first)->size(), 2);
    ASSERT_TRUE(reader.OpenKey(second, false));
    EXPECT_EQ(reader.ReadString(QStringLiteral("NextUpdate")), QStringLiteral("01/22/2024"));

    ASSERT_TRUE(Store().WriteKeys(keys));
    EXPECT_EQ(rewrites.Take(), 0) << "nothing new to write";

    // One key too deep: the other is not written either.
    const QString third = QStringLiteral("Software\\Tarvex\\Other");
    EXPECT_FALSE(Store().WriteKeys({{third, {{QStringLiteral("A"), QStringLiteral("1"), 0}}},
                                    {QStringLiteral("k\\").repeated(300), {{QStringLiteral("B"), QStringLiteral("2"), 0}}}}));
    EXPECT_EQ(rewrites.Take(), 0);
    EXPECT_FALSE(Store().KeyExists(third));
}

TEST_F(SettingsStoreTest, PathsIgnoreLeadingBackslashesAndLetterCase)
{
    {
        SettingsStore store = Store();
        ASSERT_TRUE(store.OpenKey(QStringLiteral("\\Software\\Tarvex\\Common Files"), true));
        ASSERT_TRUE(store.WriteString(QStringLiteral("Path"), QStringLiteral("/srv/tarvex")));
    }
    SettingsStore store = Store();
    struct Case {
        const char* path;
        bool exists;
    };
    for (const Case& c : {Case{"\\Software\\Tarvex\\Common Files", true},
                          Case{"Software\\Tarvex\\Common Files", true},
                          Case{"\\SOFTWARE\\tarvex\\common files", true},
                          Case{"Software\\Tarvex\\Common Files\\", true},
                          Case{"\\Software", true},
                          Case{"Software\\Tarvex\\Common", false},
                          Case{"Software\\Tarvex\\Common Files\\Path", false},
                          Case{"Software\\Tarvex\\Quillon", false}}) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(store.KeyExists(QString::fromLatin1(c.path)), c.exists);
        EXPECT_EQ(store.OpenKey(QString::fromLatin1(c.path), false), c.exists);
    }
    // Asking created nothing.
    EXPECT_EQ(store.SubKeyNames(QStringLiteral("Software\\Tarvex")), QStringList{QStringLiteral("Common Files")});
    EXPECT_EQ(store.SubKeyNames(QStringLiteral("Software\\Tarvex\\Common Files")), QStringList());

    // Values too are found whatever the case, and a write keeps the name's first spelling.
    ASSERT_TRUE(store.OpenKey(QStringLiteral("software\\tarvex\\COMMON FILES"), true));
    EXPECT_TRUE(store.ValueExists(QStringLiteral("PATH")));
    EXPECT_EQ(store.ReadString(QStringLiteral("path")), QStringLiteral("/srv/tarvex"));
    ASSERT_TRUE(store.WriteString(QStringLiteral("PATH"), QStringLiteral("/opt/tarvex")));
    const auto values = store.ReadAllValues(QStringLiteral("Software\\Tarvex\\Common Files"));
    ASSERT_TRUE(values.has_value());
    ASSERT_EQ(values->size(), 1);
    EXPECT_EQ(values->at(0).name, QStringLiteral("Path"));
    EXPECT_EQ(values->at(0).text, QStringLiteral("/opt/tarvex"));
    EXPECT_EQ(store.SubKeyNames(QStringLiteral("Software")), QStringList{QStringLiteral("Tarvex")});
}

TEST_F(SettingsStoreTest, OpeningWithoutCreateLeavesAMissingKeyMissing)
{
    SettingsStore store = Store();
    EXPECT_FALSE(store.OpenKey(QStringLiteral("\\Software\\Tarvex\\Common Files"), false));
    EXPECT_FALSE(store.HasOpenKey());
    EXPECT_FALSE(store.LastError().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(file));  // not even the file was made

    ASSERT_TRUE(store.OpenKey(QStringLiteral("\\Software\\Tarvex\\Freshline"), true));
    EXPECT_TRUE(store.KeyExists(QStringLiteral("Software")));
    EXPECT_TRUE(store.KeyExists(QStringLiteral("Software\\Tarvex")));
    EXPECT_TRUE(store.KeyExists(QStringLiteral("Software\\Tarvex\\Freshline")));
    EXPECT_EQ(store.ReadAllValues(QStringLiteral("Software\\Tarvex\\Freshline")), QList<SettingsValueText>());
}

TEST_F(SettingsStoreTest, ListsSubKeysAndValuesInCreationOrder)
{
    SettingsStore store = Store();
    for (const char* program : {"Quillon", "Freshline", "Common Files", "Beacon"})
        ASSERT_TRUE(store.OpenKey(QStringLiteral("Software\\Tarvex\\") + QLatin1String(program), true));
    ASSERT_TRUE(store.OpenKey(QStringLiteral("Software\\Tarvex\\Quillon\\Settings"), true));
    EXPECT_EQ(store.SubKeyNames(QStringLiteral("\\Software\\Tarvex")),
              (QStringList{"Quillon", "Freshline", "Common Files", "Beacon"}));
    EXPECT_EQ(store.SubKeyNames(QStringLiteral("Software\\Tarvex\\Beacon")), QStringList());
    EXPECT_EQ(store.SubKeyNames(QStringLiteral("Software\\Tarvex\\Nowhere")), std::nullopt);

    ASSERT_TRUE(store.OpenKey(QStringLiteral("Software\\Tarvex\\Quillon"), false));
    ASSERT_TRUE(store.WriteString(QStringLiteral("MenuCaption"), QStringLiteral("QUILLON")));
    ASSERT_TRUE(store.WriteString(QStringLiteral("UpdateExe"), QStringLiteral("quillon.exe")));
    ASSERT_TRUE(store.WriteInteger(QStringLiteral("Build"), -12));
    ASSERT_TRUE(store.WriteString(QStringLiteral("UpdateDate"), QStringLiteral("03/04/2024")));
    const auto values = store.ReadAllValues(QStringLiteral("Software\\Tarvex\\Quillon"));
    ASSERT_TRUE(values.has_value());
    QStringList shown;
    for (const SettingsValueText& value : *values)
        shown << value.name + QLatin1Char('=') + value.text;
    EXPECT_EQ(shown, (QStringList{"MenuCaption=QUILLON", "UpdateExe=quillon.exe", "Build=-12",
                                  "UpdateDate=03/04/2024"}));
    EXPECT_EQ(store.ReadAllValues(QStringLiteral("Software\\Tarvex\\Nowhere")), std::nullopt);
}

TEST_F(SettingsStoreTest, DeletesValues)
{
    SettingsStore store = Store();
    ASSERT_TRUE(store.OpenKey(QStringLiteral("Software\\Tarvex\\Freshline"), true));
    ASSERT_TRUE(store.WriteString(QStringLiteral("NextUpdate"), QStringLiteral("02/14/2024")));
    ASSERT_TRUE(store.WriteString(QStringLiteral("NewInstall"), QStringLiteral("1")));
    ASSERT_TRUE(store.DeleteValue(QStringLiteral("newinstall")));
    EXPECT_FALSE(store.ValueExists(QStringLiteral("NewInstall")));
    EXPECT_TRUE(store.DeleteValue(QStringLiteral("NewInstall")));  // already gone: no failure
    EXPECT_TRUE(store.DeleteValue(QStringLiteral("NeverThere")));
    store.CloseKey();

    SettingsStore again = Store();
    ASSERT_TRUE(again.OpenKey(QStringLiteral("Software\\Tarvex\\Freshline"), false));
    EXPECT_FALSE(again.ValueExists(QStringLiteral("NewInstall")));
    EXPECT_EQ(again.ReadString(QStringLiteral("NextUpdate")), QStringLiteral("02/14/2024"));
}

TEST_F(SettingsStoreTest, ValueOperationsNeedAnOpenKey)
{
    SettingsStore store = Store();
    EXPECT_FALSE(store.ValueExists(QStringLiteral("Path")));
    EXPECT_EQ(store.ReadString(QStringLiteral("Path")), std::nullopt);
    EXPECT_EQ(store.ReadInteger(QStringLiteral("Path")), std::nullopt);
    EXPECT_FALSE(store.WriteString(QStringLiteral("Path"), QStringLiteral("x")));
    EXPECT_FALSE(store.WriteBool(QStringLiteral("Save"), true));
    EXPECT_FALSE(store.DeleteValue(QStringLiteral("Path")));

    ASSERT_TRUE(store.OpenKey(QStringLiteral("Software\\Tarvex\\Common Files"), true));
    ASSERT_TRUE(store.WriteString(QStringLiteral("Path"), QStringLiteral("x")));
    store.CloseKey();
    EXPECT_EQ(store.ReadString(QStringLiteral("Path")), std::nullopt);
    EXPECT_FALSE(store.WriteString(QStringLiteral("Path"), QStringLiteral("y")));
}

TEST_F(SettingsStoreTest, SeesOtherWritersAndKeepsTheirValues)
{
    // Two store objects stand for two programs, each with the key open.
    SettingsStore first = Store();
    SettingsStore second = Store();
    ASSERT_TRUE(first.OpenKey(QStringLiteral("Software\\Tarvex\\Freshline"), true));
    ASSERT_TRUE(second.OpenKey(QStringLiteral("Software\\Tarvex\\Freshline"), true));
    ASSERT_TRUE(first.WriteString(QStringLiteral("NextUpdate"), QStringLiteral("02/14/2024")));
    ASSERT_TRUE(second.WriteString(QStringLiteral("Interval"), QStringLiteral("30")));
    // The second program's write did not wipe out the first's.
    EXPECT_EQ(second.ReadString(QStringLiteral("NextUpdate")), QStringLiteral("02/14/2024"));
    // The first sees the second's value once it opens the key again.
    ASSERT_TRUE(first.OpenKey(QStringLiteral("Software\\Tarvex\\Freshline"), false));
    EXPECT_EQ(first.ReadString(QStringLiteral("Interval")), QStringLiteral("30"));
}

TEST_F(SettingsStoreTest, WritesAreAtomicAndLeaveOnlyTheStoreFile)
{
    SettingsStore store = Store();
    ASSERT_TRUE(store.OpenKey(QStringLiteral("Software\\Tarvex\\Quillon\\Settings"), true));
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(store.WriteString(QStringLiteral("Value%1").arg(i), QString(i * 50, QLatin1Char('x'))));
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("registry.json")});
    QJsonParseError error{};
    QJsonDocument::fromJson(ReadAll(file), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError);
}

struct DamageCase {
    const char* name;
    QByteArray content;
};

void PrintTo(const DamageCase& c, std::ostream* out)
{
    *out << c.name;
}

class DamagedStoreTest : public SettingsStoreTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedStoreTest, IsKeptAsideAndReported)
{
    WriteAll(file, GetParam().content);

    SettingsStore store = Store();
    EXPECT_FALSE(store.KeyExists(QStringLiteral("Software")));
    ASSERT_EQ(reported.size(), 1);
    EXPECT_EQ(store.Problems().size(), 1);
    const SettingsProblem& problem = reported.first();
    EXPECT_EQ(problem.file, file);
    EXPECT_FALSE(problem.reason.isEmpty());
    ASSERT_FALSE(problem.keptAs.isEmpty());
    EXPECT_TRUE(QFileInfo(problem.keptAs).fileName().startsWith(QLatin1String("registry.json.damaged-")));
    EXPECT_EQ(ReadAll(problem.keptAs), GetParam().content);  // kept byte for byte
    EXPECT_TRUE(problem.Text().contains(QDir::toNativeSeparators(problem.keptAs)));

    // The store starts afresh and is reported only once.
    ASSERT_TRUE(store.OpenKey(QStringLiteral("Software\\Tarvex\\Common Files"), true));
    ASSERT_TRUE(store.WriteString(QStringLiteral("Path"), QStringLiteral("/srv/tarvex")));
    EXPECT_EQ(reported.size(), 1);
    EXPECT_EQ(ReadAll(problem.keptAs), GetParam().content);
    EXPECT_EQ(FolderEntries().size(), 2);
    SettingsStore again = Store();
    ASSERT_TRUE(again.OpenKey(QStringLiteral("Software\\Tarvex\\Common Files"), false));
    EXPECT_EQ(again.ReadString(QStringLiteral("Path")), QStringLiteral("/srv/tarvex"));
}

TEST_P(DamagedStoreTest, AWriteNeverOverwritesIt)
{
    WriteAll(file, GetParam().content);
    // First contact is a write (the key opened with creation writes).
    SettingsStore store = Store();
    ASSERT_TRUE(store.OpenKey(QStringLiteral("Software\\Tarvex\\Freshline"), true));
    ASSERT_EQ(reported.size(), 1);
    EXPECT_EQ(ReadAll(reported.first().keptAs), GetParam().content);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedStoreTest,
    ::testing::Values(DamageCase{"BrokenJson", R"({"format": "Quillon settings store", "vers)"},
                      DamageCase{"Empty", ""},
                      DamageCase{"OtherJson", R"({"Software": {"Tarvex": 1}})"},
                      DamageCase{"NumberOutOfRange",
                                 R"({"format": "Quillon settings store", "version": 1, "root":
                                    {"name": "", "keys": [], "values": [{"name": "N", "number": 1e12}]}})"},
                      // Past the 64-bit range, where converting to an integer before checking is undefined.
                      DamageCase{"NumberBeyondEveryInteger",
                                 R"({"format": "Quillon settings store", "version": 1, "root":
                                    {"name": "", "keys": [], "values": [{"name": "x", "number": 1e19}]}})"},
                      DamageCase{"NegativeNumberBeyondEveryInteger",
                                 R"({"format": "Quillon settings store", "version": 1, "root":
                                    {"name": "", "keys": [], "values": [{"name": "x", "number": -1e300}]}})"},
                      DamageCase{"NumberNotWhole",
                                 R"({"format": "Quillon settings store", "version": 1, "root":
                                    {"name": "", "keys": [], "values": [{"name": "x", "number": 2.5}]}})"},
                      DamageCase{"ValueOfBothTypes",
                                 R"({"format": "Quillon settings store", "version": 1, "root":
                                    {"name": "", "keys": [], "values": [{"name": "N", "number": 1, "text": "1"}]}})"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsStoreTest, TwoProgramsWritingAtOnceLoseNothing)
{
    constexpr int kWrites = 150;
    QProcess writers[2];
    const char* prefixes[2] = {"A", "B"};
    for (int i = 0; i < 2; ++i) {
        writers[i].setProcessChannelMode(QProcess::ForwardedErrorChannel);
        writers[i].start(QCoreApplication::applicationFilePath(),
                         {QString::fromLatin1(kStoreWriterFlag), file, QString::fromLatin1(prefixes[i]),
                          QString::number(kWrites)});
    }
    for (QProcess& writer : writers) {
        ASSERT_TRUE(writer.waitForFinished(120'000));
        EXPECT_EQ(writer.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(writer.exitCode(), 0);
    }

    SettingsStore store = Store();
    ASSERT_TRUE(store.OpenKey(QString::fromLatin1(kRaceKey), false));
    int missing = 0;
    for (const char* prefix : prefixes) {
        for (int i = 0; i < kWrites; ++i) {
            if (store.ReadInteger(QLatin1String(prefix) + QString::number(i)) != i)
                ++missing;
        }
    }
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(store.ReadAllValues(QString::fromLatin1(kRaceKey))->size(), 2 * kWrites);
    EXPECT_TRUE(reported.isEmpty());
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("registry.json")});
}

TEST_F(SettingsStoreTest, AKeyDeeperThanTheReaderTakesIsRefusedWhenWritten)
{
    QStringList parts;
    for (int depth = 0; depth < 256; ++depth)
        parts << QStringLiteral("K%1").arg(depth);
    const QString deepest = parts.join(QLatin1Char('\\'));
    SettingsStore store = Store();
    ASSERT_TRUE(store.OpenKey(deepest, true)) << store.LastError().toStdString();
    ASSERT_TRUE(store.WriteString(QStringLiteral("Depth"), QStringLiteral("256")));
    const QByteArray before = ReadAll(file);

    EXPECT_FALSE(store.OpenKey(deepest + QStringLiteral("\\K256"), true));
    EXPECT_FALSE(store.HasOpenKey());
    EXPECT_TRUE(store.LastError().endsWith(
        QStringLiteral("is 257 keys deep; the settings store holds keys at most 256 deep")))
        << store.LastError().toStdString();
    EXPECT_EQ(ReadAll(file), before) << "nothing was written";

    // What was written reads back whole: nothing is set aside.
    SettingsStore again = Store();
    ASSERT_TRUE(again.OpenKey(deepest, false)) << again.LastError().toStdString();
    EXPECT_EQ(again.ReadString(QStringLiteral("Depth")), QStringLiteral("256"));
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(SettingsStoreTest, ClassesRootQuestionGoesToTheProbe)
{
    QStringList asked;
    SettingsStore store(file, {}, [&](const QString& name) {
        asked << name;
        return name == QLatin1String("Excel.Application");
    });
    EXPECT_TRUE(store.ClassesRootKeyExists(QStringLiteral("Excel.Application")));
    EXPECT_FALSE(store.ClassesRootKeyExists(QStringLiteral("Word.Application")));
    EXPECT_EQ(asked.size(), 2);
    EXPECT_FALSE(QFileInfo::exists(file));  // the user's store is not involved
}

}  // namespace
