// What the program does for the launcher before its window opens: the user's
// data folder with the packaged price list, kept up to date only while the
// user's copy is the one seeded; a folder chosen elsewhere left alone; and a
// damaged settings file shown in the program's own box.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include "platform/SettingsStore.h"
#include "tests/ui/Install.h"
#include "ui/QueryPage.h"
#include "ui/Unit1.h"
#include "ui/UserDataSetup.h"

namespace quillon {
namespace {

const QByteArray kSeeded = "TL|QA|QA-1|FT|Air line|2.50|\r\n";
const QByteArray kNewer = "TL|QA|QA-1|FT|Air line|2.75|\r\n";
const QByteArray kEdited = "TL|QA|QA-1|FT|Air line|1.99|\r\n";

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QString Value(const QString& settingsFile, const char* key, const char* name)
{
    SettingsStore store(settingsFile);
    if (!store.OpenKey(QLatin1String(key), false)) return QStringLiteral("<no key>");
    if (!store.ValueExists(QLatin1String(name))) return QStringLiteral("<no value>");
    return store.ReadString(QLatin1String(name)).value_or(QStringLiteral("<not text>"));
}

// A package's price list, the user's default data folder and a settings file.
class UserDataSetupTest : public ::testing::Test {
protected:
    QString Packaged() const { return root_.filePath(QStringLiteral("package")); }
    QString DefaultFolder() const { return root_.filePath(QStringLiteral("home/Common Files")); }
    QString PriceList(const QString& folder) const { return folder + QStringLiteral("/M_lom.dat"); }
    QString Settings() const { return root_.filePath(QStringLiteral("registry.json")); }

    void Package(const QByteArray& priceList) { Write(PriceList(Packaged()), priceList); }

    DataSetupResult Start()
    {
        SettingsStore store(Settings());
        DataSetupResult result = SetUpUserData(store, {Packaged(), DefaultFolder(), QStringLiteral("/opt/quillon")});
        EXPECT_TRUE(result.ok) << result.error.toStdString();
        return result;
    }

    void RecordFolder(const QString& folder)
    {
        SettingsStore store(Settings());
        ASSERT_TRUE(store.OpenKey(QStringLiteral("Software\\Tarvex\\Common Files"), true));
        ASSERT_TRUE(store.WriteString(QStringLiteral("Path"), folder));
    }

    QTemporaryDir root_;
};

TEST_F(UserDataSetupTest, FirstStartSeedsTheDefaultFolderAndRegisters)
{
    Package(kSeeded);
    Start();
    EXPECT_EQ(Read(PriceList(DefaultFolder())), kSeeded);
    EXPECT_EQ(Value(Settings(), "Software\\Tarvex\\Common Files", "Path"), DefaultFolder());
    EXPECT_EQ(Value(Settings(), "Software\\Tarvex\\Quillon", "Path"), QStringLiteral("/opt/quillon"));
    EXPECT_EQ(Value(Settings(), "Software\\Tarvex\\Quillon", "ExeName"), QStringLiteral("quillon"));
}

TEST_F(UserDataSetupTest, TheLaunchersFolderIsMadeAgainWhenItWentMissing)
{
    Package(kSeeded);
    Start();
    ASSERT_TRUE(QDir(DefaultFolder()).removeRecursively());
    Start();
    EXPECT_EQ(Read(PriceList(DefaultFolder())), kSeeded);
}

TEST_F(UserDataSetupTest, AFolderTheLauncherGaveUnderAnotherDefaultIsStillItsOwn)
{
    Package(kSeeded);
    const QString earlier = root_.filePath(QStringLiteral("old home/Common Files"));
    {
        SettingsStore store(Settings());
        ASSERT_TRUE(SetUpUserData(store, {Packaged(), earlier, QStringLiteral("/opt/quillon")}).ok);
    }
    ASSERT_TRUE(QDir(earlier).removeRecursively());
    Start();
    EXPECT_EQ(Read(PriceList(earlier)), kSeeded);
    EXPECT_FALSE(QFileInfo::exists(DefaultFolder()));
    EXPECT_EQ(Value(Settings(), "Software\\Tarvex\\Common Files", "Path"), earlier);
}

TEST_F(UserDataSetupTest, AFolderChosenElsewhereIsNeverMadeFilledOrReplaced)
{
    Package(kNewer);
    const QString chosen = root_.filePath(QStringLiteral("shared/pricing"));
    RecordFolder(chosen);

    const DataSetupResult missing = Start();
    EXPECT_FALSE(QFileInfo::exists(chosen));
    EXPECT_FALSE(QFileInfo::exists(DefaultFolder()));
    EXPECT_TRUE(missing.done.contains(QStringLiteral("Data folder missing, left for its owner: %1").arg(chosen)));
    EXPECT_EQ(Value(Settings(), "Software\\Tarvex\\Common Files", "Path"), chosen);

    // Its price list, however old, is the owner's.
    Write(PriceList(chosen), kSeeded);
    Start();
    EXPECT_EQ(Read(PriceList(chosen)), kSeeded);
    // And its missing price list is not put there either.
    ASSERT_TRUE(QFile::remove(PriceList(chosen)));
    Start();
    EXPECT_FALSE(QFileInfo::exists(PriceList(chosen)));
}

struct UpgradeCase {
    const char* name;
    QByteArray userCopy;      // what the user's folder holds before the upgrade
    bool recorded;            // whether the launcher kept its checksum of the seeded copy
    QByteArray expected;      // what it holds afterwards
};

void PrintTo(const UpgradeCase& c, std::ostream* out) { *out << c.name; }

class PriceListUpgrade : public UserDataSetupTest, public ::testing::WithParamInterface<UpgradeCase> {};

TEST_P(PriceListUpgrade, ANewerPackagedPriceListReplacesOnlyTheUnchangedSeededCopy)
{
    const UpgradeCase& c = GetParam();
    Package(kSeeded);
    Start();
    if (!c.recorded) {
        // As an earlier launcher left it: the folder recorded, no checksum.
        SettingsStore store(Settings());
        ASSERT_TRUE(store.OpenKey(QStringLiteral("Software\\Tarvex\\Quillon\\Launcher"), true));
        ASSERT_TRUE(store.DeleteValue(QStringLiteral("SeededPriceList")));
    }
    Write(PriceList(DefaultFolder()), c.userCopy);

    Package(kNewer);
    Start();
    EXPECT_EQ(Read(PriceList(DefaultFolder())), c.expected);
    // A second start with the same package changes nothing more.
    Start();
    EXPECT_EQ(Read(PriceList(DefaultFolder())), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PriceListUpgrade,
    ::testing::Values(UpgradeCase{"unchanged_copy_is_replaced", kSeeded, true, kNewer},
                      UpgradeCase{"copy_changed_by_hand_or_update_is_kept", kEdited, true, kEdited},
                      UpgradeCase{"copy_already_current_stays", kNewer, true, kNewer},
                      UpgradeCase{"without_a_checksum_the_copy_is_kept", kSeeded, false, kSeeded}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UserDataSetupTest, AfterAnUpgradeTheNewCopyIsTheOneThatMayBeReplacedNext)
{
    Package(kSeeded);
    Start();
    Package(kNewer);
    Start();
    const QByteArray third = "TL|QA|QA-1|FT|Air line|3.10|\r\n";
    Package(third);
    Start();
    EXPECT_EQ(Read(PriceList(DefaultFolder())), third);
}

TEST_F(UserDataSetupTest, ACopyThatIsThePackagedOneIsAdoptedWithoutAChecksum)
{
    // An earlier launcher seeded it and kept no record: identical bytes are
    // proof enough that the copy is the packaged one.
    Package(kSeeded);
    Write(PriceList(DefaultFolder()), kSeeded);
    RecordFolder(DefaultFolder());
    Start();
    Package(kNewer);
    Start();
    EXPECT_EQ(Read(PriceList(DefaultFolder())), kNewer);
}

TEST_F(UserDataSetupTest, WithoutThePackagedPriceListNothingIsRecorded)
{
    SettingsStore store(Settings());
    const DataSetupResult result = SetUpUserData(store, {Packaged(), DefaultFolder(), QStringLiteral("/opt/quillon")});
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(PriceList(Packaged()))) << result.error.toStdString();
    EXPECT_EQ(Value(Settings(), "Software\\Tarvex\\Common Files", "Path"), QStringLiteral("<no key>"));
}

// The program's own composition: the settings warning wired as the program
// wires it, the launcher's step, then the window.
TEST(LauncherStart, ADamagedSettingsFileReachesTheUserInTheProgramsWarningBox)
{
    Install install;
    install.WriteCatalogue(FixtureCatalogue());
    const QByteArray damaged = "{\"Software\": {\"Tarvex\": ";
    Write(install.SettingsFile(), damaged);
    QTemporaryDir packaged;
    Write(packaged.filePath(QStringLiteral("M_lom.dat")), kSeeded);

    Seams& seams = install.fakes.Get();
    ReportSettingsProblems(seams);
    qputenv(kPackagedDataVariable, packaged.path().toLocal8Bit());
    qputenv(kDataFolderVariable, install.DataFolder().toLocal8Bit());
    EXPECT_TRUE(SetUpForLauncher(seams));
    // Programs this one starts do not inherit the launcher's request.
    EXPECT_FALSE(qEnvironmentVariableIsSet(kPackagedDataVariable));
    EXPECT_FALSE(qEnvironmentVariableIsSet(kDataFolderVariable));

    auto window = install.Open();
    const QStringList boxes = BoxLines(install.fakes.messages);
    ASSERT_EQ(boxes.size(), 1) << boxes.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(boxes.front().startsWith(QStringLiteral("Warning: The settings file %1 was damaged")
                                             .arg(QDir::toNativeSeparators(install.SettingsFile()))))
        << boxes.front().toStdString();
    // The window works on the seeded folder, and the damaged file is kept.
    EXPECT_TRUE(window->tsQueryValues->btnSearch->isEnabled());
    EXPECT_EQ(Read(install.DataFolder() + QStringLiteral("/M_lom.dat")), kSeeded);
    const QStringList kept = QDir(QFileInfo(install.SettingsFile()).path())
                                 .entryList({QStringLiteral("registry.json.damaged-*")}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(Read(QFileInfo(install.SettingsFile()).path() + QLatin1Char('/') + kept.front()), damaged);
}

TEST(LauncherStart, WithoutTheLaunchersRequestNothingIsSetUp)
{
    Install install;
    qunsetenv(kPackagedDataVariable);
    EXPECT_TRUE(SetUpForLauncher(install.fakes.Get()));
    EXPECT_FALSE(QFileInfo::exists(install.SettingsFile()));
}

}  // namespace
}  // namespace quillon
