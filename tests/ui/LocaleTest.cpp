// Numbers keep "." under a comma-decimal locale. CTest runs these once more
// with LC_ALL=de_DE.UTF-8; in an ordinary run they are skipped.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>

#include "tests/ui/Install.h"
#include "ui/ProcessFormats.h"
#include "ui/QueryPage.h"
#include "ui/Unit1.h"
#include "online/OnlineCommon.h"

namespace quillon {
namespace {

bool CommaLocaleRequested() { return qEnvironmentVariable("LC_ALL").startsWith(QLatin1String("de_DE")); }

std::string Printed(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

TEST(CommaLocale, ProcessFormatsUndoTheUsersDecimalComma)
{
    if (!CommaLocaleRequested()) GTEST_SKIP() << "run with LC_ALL=de_DE.UTF-8";
    // The test means something only if the locale really writes a comma.
    ASSERT_NE(std::setlocale(LC_NUMERIC, ""), nullptr) << "de_DE.UTF-8 is not installed";
    ASSERT_EQ(Printed(1234.5), "1234,50");
    ASSERT_EQ(QLocale::system().decimalPoint(), QStringLiteral(","));

    FixProcessFormats();
    EXPECT_EQ(Printed(1234.5), "1234.50");
    EXPECT_EQ(QLocale().toString(1.5), QStringLiteral("1.5"));
    EXPECT_EQ(QLocale().toDouble(QStringLiteral("2.25")), 2.25);
    EXPECT_EQ(FormatShortDate(QDate(2024, 3, 7)), QStringLiteral("03/07/2024"));
    EXPECT_EQ(ReadShortDate(QStringLiteral("12/31/2025")), QDate(2025, 12, 31));
}

TEST(CommaLocale, CatalogueAndEntryBoxesUseThePoint)
{
    if (!CommaLocaleRequested()) GTEST_SKIP() << "run with LC_ALL=de_DE.UTF-8";
    Install install;
    install.WriteAll();
    std::vector<std::string> rows = FixtureCatalogue();
    rows.push_back(CatalogueRow("0.535", "1.705", "QX-1", "AIR", "N Female"));
    install.WriteCatalogue(rows);
    auto window = install.Open();
    EXPECT_TRUE(BoxLines(install.fakes.messages).isEmpty()) << BoxLines(install.fakes.messages).join('|').toStdString();
    EXPECT_EQ(window->tsQueryValues->cbxBeginningFrequency->itemText(0), QStringLiteral("0.535"));
    EXPECT_EQ(window->tsQueryValues->cbxEndingFrequency->itemText(0), QStringLiteral("1.705"));

    QLineEdit* vswr = window->tsQueryValues->edtVSWR;
    vswr->setText(QStringLiteral("1.35"));
    EXPECT_EQ(vswr->text(), QStringLiteral("1.35"));
    EXPECT_TRUE(BoxLines(install.fakes.messages).isEmpty());
    vswr->setText(QStringLiteral("1,35"));
    EXPECT_EQ(vswr->text(), QStringLiteral("0"));
}

}  // namespace
}  // namespace quillon
