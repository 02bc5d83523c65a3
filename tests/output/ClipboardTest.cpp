// The clipboard text of the selected line and its two part numbers.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "tests/output/ExportFixture.h"
#include "output/ClipboardText.h"

namespace quillon {
namespace {

const QChar kLineEnd(kClipboardLineEnd);

using testing::FixedResults;
using testing::PartNumberGrid;
using testing::SpecsGrid;

FixedResults PoundsPage()
{
    FixedResults page;
    page.grid = SpecsGrid(3);
    page.grid.currentRow = 1;
    page.partNumbers[0] = PartNumberGrid({{"QX-F78-NM", "N male for 7/8 in. foam", "GBP 41.00"},
                                          {"QX-F78-NF", "N female for 7/8 in. foam", "GBP 39.50"},
                                          {"QX-F78-DM", "7-16 DIN male for 7/8 in. foam", "GBP 55.25"}},
                                         1);
    page.partNumbers[1] = PartNumberGrid({{"QX-F78-DF", "7-16 DIN female for 7/8 in. foam", "GBP 57.10"},
                                          {"QX-F78-DR", "7-16 DIN right angle", "GBP 80.00"}},
                                         0);
    return page;
}

TEST(ClipboardText, LaysOutTwentyEightLinesWithPaddedLabels)
{
    // Every value starts in column 32: labels are filled to 31 characters, and
    // the price labels carry the currency the grids were last filled in.
    const QStringList expected{
        "Transmission Line:",
        "",
        "Part Number:                   QX-F78-50",
        "Frequency Band (MHz):          806-960",
        "Description:                   7/8 in. foam coax, PE jacket",
        "Mid Band Frequency (MHz):      859",
        "Attenuation (dB/100 ft):       1.24",
        "Attenuation (dB/100m):         4.07",
        "Total Attenuation (dB):        1.24",
        "Insertion Loss (dB):           1.29",
        "Efficiency (%):                74.30",
        "Peak Power (kW):               91.00",
        "Avg. Power (kW):               3.10",
        "VSWR Derated Avg. Pwr. (kW):   2.82",
        "List Price Per Foot (GBP):     GBP 4.50",
        "List Price Per Meter (GBP):    GBP 14.76",
        "",
        "Connector 1:",
        "",
        "Part Number:                   QX-F78-NF",
        "Description:                   N female for 7/8 in. foam",
        "Price (GBP):                   GBP 39.50",
        "",
        "Connector 2:",
        "",
        "Part Number:                   QX-F78-DF",
        "Description:                   7-16 DIN female for 7/8 in. foam",
        "Price (GBP):                   GBP 57.10",
    };
    ASSERT_EQ(expected.size(), 28);

    const QString text = ClipboardText(PoundsPage());
    EXPECT_EQ(text, expected.join(kLineEnd) + kLineEnd);
    // One kind of line end only: here the LF that applications break lines at.
    EXPECT_EQ(kLineEnd, QChar(u'\n'));
    EXPECT_FALSE(text.contains(QChar(u'\r')));
}

TEST(ClipboardText, PadsLabelsToThirtyOneCharacters)
{
    struct Case {
        QString heading;
        QString label;
    };
    const Case cases[] = {
        {"Part Number", "Part Number:                   "},                  // 12 + 19 blanks
        {"VSWR Derated Avg. Pwr. (kW)", "VSWR Derated Avg. Pwr. (kW):   "},  // 28 + 3
        {"A heading of 29 characters ..", "A heading of 29 characters ..: "},
        {"A heading of 30 characters ...", "A heading of 30 characters ...:"},
        {"A heading of 31 characters ....", "A heading of 31 characters ....:"},
        {"", ":                              "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClipboardLabel(c.heading), c.label) << c.heading.toStdString();
    }
    EXPECT_EQ(ClipboardLabel("VSWR Derated Avg. Pwr. (kW)").size(), 31);
}

TEST(ClipboardText, LongHeadingPutsTheValueRightAfterTheColon)
{
    FixedResults page = PoundsPage();
    page.grid.headings[2] = "Description of the line in full";  // 31 characters
    const QStringList lines = ClipboardText(page).split(kLineEnd);
    EXPECT_EQ(lines.at(4), "Description of the line in full:7/8 in. foam coax, PE jacket");
}

TEST(ClipboardText, HiddenColumnsGiveTheirLabelsWithEmptyValues)
{
    // A command-line run with a part number only: columns 4 to 12 are hidden
    // and empty, prices in dollars under the designed headings.
    FixedResults page = PoundsPage();
    page.grid.headings = testing::SpecsHeadings("($US)");
    page.grid.rows = {{"QX-F78-50", "806-960", "7/8 in. foam coax, PE jacket", "", "", "", "", "", "", "", "", "",
                        "$4.50", "$14.76"}};
    page.grid.currentRow = 0;

    const QStringList lines = ClipboardText(page).split(kLineEnd);
    EXPECT_EQ(lines.at(5), "Mid Band Frequency (MHz):      ");
    EXPECT_EQ(lines.at(13), "VSWR Derated Avg. Pwr. (kW):   ");
    for (int line = 5; line <= 13; ++line) EXPECT_EQ(lines.at(line).size(), 31) << lines.at(line).toStdString();
    EXPECT_EQ(lines.at(14), "List Price Per Foot ($US):     $4.50");
    EXPECT_EQ(lines.at(15), "List Price Per Meter ($US):    $14.76");
}

TEST(ClipboardText, PartNumberGridWithoutCurrentRowGivesLabelsOnly)
{
    struct Case {
        const char* name;
        GridSnapshot grid;
    };
    const Case cases[] = {
        {"no rows", PartNumberGrid({}, -1, "Price ($US)")},
        {"current row past the end", PartNumberGrid({}, 0, "Price ($US)")},
    };
    for (const Case& c : cases) {
        FixedResults page = PoundsPage();
        page.partNumbers[1] = c.grid;
        const QStringList lines = ClipboardText(page).split(kLineEnd);
        ASSERT_EQ(lines.size(), 29) << c.name;  // 28 lines and the empty rest after the last CR
        EXPECT_EQ(lines.mid(23, 6),
                  (QStringList{"Connector 2:", "", "Part Number:                   ", "Description:                   ",
                               "Price ($US):                   ", ""}))
            << c.name;
        // End 1 is untouched by end 2 being empty.
        EXPECT_EQ(lines.at(19), "Part Number:                   QX-F78-NF") << c.name;
    }
}

TEST(ClipboardCopy, ReplacesTheClipboardWithTheText)
{
    FixedResults page = PoundsPage();
    page.grid.rows[1][2] = QString::fromUtf8("7/8 in. foam coax, −40 °C … 85 °C");
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("something copied earlier");

    CopyResultsToClipboard(page);

    EXPECT_EQ(clipboard->text(), ClipboardText(page));
    EXPECT_TRUE(clipboard->text().contains(QString::fromUtf8("−40 °C … 85 °C")));
    EXPECT_TRUE(clipboard->text().startsWith("Transmission Line:\n\nPart Number:"));
}

}  // namespace
}  // namespace quillon
