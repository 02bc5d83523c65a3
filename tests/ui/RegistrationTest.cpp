// The registration step that plays the maker's installer for a build tree.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "ui/Registration.h"
#include "platform/SettingsStore.h"

namespace quillon {
namespace {

QString Value(SettingsStore& store, const char* key, const char* name)
{
    if (!store.OpenKey(QLatin1String(key), false)) return QStringLiteral("<no key>");
    if (!store.ValueExists(QLatin1String(name))) return QStringLiteral("<no value>");
    return store.ReadString(QLatin1String(name)).value_or(QStringLiteral("<not text>"));
}

TEST(Registration, RecordsTheDataFolderOnlyWhenNoneIsThereAndRegistersTheProgram)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("registry.json"));
    {
        SettingsStore store(file);
        const RegistrationResult result = RegisterProgram(store, QStringLiteral("/srv/demo/"), QStringLiteral("/opt/q"));
        ASSERT_TRUE(result.ok) << result.error.toStdString();
    }
    SettingsStore store(file);
    EXPECT_EQ(Value(store, "Software\\Tarvex\\Common Files", "Path"), QStringLiteral("/srv/demo"));
    EXPECT_EQ(Value(store, "Software\\Tarvex\\Quillon", "MenuCaption"), QStringLiteral("QUILLON"));
    EXPECT_EQ(Value(store, "Software\\Tarvex\\Quillon", "UpdateExe"), QStringLiteral("quillon-setup.exe"));
    EXPECT_EQ(Value(store, "Software\\Tarvex\\Quillon", "Path"), QStringLiteral("/opt/q"));
    EXPECT_EQ(Value(store, "Software\\Tarvex\\Quillon", "ExeName"), QStringLiteral("quillon"));

    // Another program's data folder stays; the registration is refreshed.
    {
        SettingsStore again(file);
        ASSERT_TRUE(RegisterProgram(again, QStringLiteral("/elsewhere"), QStringLiteral("/opt/q2")).ok);
    }
    EXPECT_EQ(Value(store, "Software\\Tarvex\\Common Files", "Path"), QStringLiteral("/srv/demo"));
    EXPECT_EQ(Value(store, "Software\\Tarvex\\Quillon", "Path"), QStringLiteral("/opt/q2"));
}

}  // namespace
}  // namespace quillon
