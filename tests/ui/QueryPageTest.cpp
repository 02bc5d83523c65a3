// The query page's rules: numeric entry boxes, the coupling of the frequency
// and loss criteria, and the frequency boxes narrowing each other on leaving.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "tests/ui/Install.h"
#include "ui/QueryPage.h"
#include "ui/Unit1.h"

namespace quillon {
namespace {

const QString kNotNumeric = QStringLiteral("Information: This field must contain a numeric value.");

QStringList Items(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

class QueryPageFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        install.WriteAll();
        window = install.Open();
        page = window->tsQueryValues;
        install.fakes.messages.Clear();
    }

    // Focus events need a shown, active window.
    void ShowActive()
    {
        // Start away from the frequency boxes, so that no rule runs unasked.
        page->edtVSWR->setFocus();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ASSERT_TRUE(page->edtVSWR->hasFocus());
        install.fakes.messages.Clear();
    }

    // Puts the focus into the box, then moves it on, as a click elsewhere does.
    void Leave(QComboBox* box)
    {
        box->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(box->hasFocus());
        page->edtLength->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(page->edtLength->hasFocus());
    }

    Install install;
    std::unique_ptr<TfrmMain> window;
    TQueryValuesPage* page = nullptr;
};

// ---- entry boxes

struct EntryCase {
    const char* name;
    const char* box;
    const char* start;   // set before (no message expected for it)
    const char* typed;   // typed key by key; nullptr: `assigned` is set instead
    const char* assigned;
    const char* expected;
    int messages;
};

void PrintTo(const EntryCase& c, std::ostream* out) { *out << c.name; }

class EntryBoxRule : public QueryPageFixture, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(EntryBoxRule, KeepsTheBoxNumeric)
{
    const EntryCase& c = GetParam();
    auto* box = window->findChild<QLineEdit*>(QLatin1String(c.box));
    ASSERT_NE(box, nullptr);
    box->setText(QLatin1String(c.start));
    install.fakes.messages.Clear();
    if (c.typed != nullptr)
        QTest::keyClicks(box, QLatin1String(c.typed));
    else
        box->setText(QLatin1String(c.assigned));
    EXPECT_EQ(box->text(), QLatin1String(c.expected));
    QStringList expected;
    for (int i = 0; i < c.messages; ++i) expected << kNotNumeric;
    EXPECT_EQ(BoxLines(install.fakes.messages), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EntryBoxRule,
    ::testing::Values(EntryCase{"letter_in_length", "edtLength", "0", "a", nullptr, "0", 1},
                      EntryCase{"lone_minus", "edtMaxLoss", "", "-", nullptr, "0", 1},
                      EntryCase{"number_typed", "edtLength", "", "12.5", nullptr, "12.5", 0},
                      // Every keystroke must leave a number: a sign or an
                      // exponent letter typed on its own is refused at once.
                      EntryCase{"exponent_typed", "edtLength", "", "2e3", nullptr, "03", 1},
                      EntryCase{"signed_number_assigned", "edtMaxLoss", "0", nullptr, "-3.5E+2", "-3.5E+2", 0},
                      EntryCase{"letter_after_digits", "edtVSWR", "1.1", "x", nullptr, "0", 1},
                      EntryCase{"emptied", "edtLength", "25", nullptr, "", "", 0},
                      EntryCase{"comma_assigned", "edtVSWR", "1.1", nullptr, "1,5", "0", 1},
                      EntryCase{"thousands_assigned", "edtLength", "0", nullptr, "1,000", "0", 1},
                      EntryCase{"blanks_around", "edtMaxLoss", "0", nullptr, " 2.5 ", " 2.5 ", 0}),
    [](const ::testing::TestParamInfo<EntryCase>& info) { return std::string(info.param.name); });

// ---- criterion coupling

TEST_F(QueryPageFixture, LossCriterionOnlyWithFrequencyCriterion)
{
    ASSERT_TRUE(page->chkFrequency->isChecked());
    ASSERT_FALSE(page->chkInsertionLoss->isChecked());
    EXPECT_TRUE(page->chkInsertionLoss->isEnabled());
    EXPECT_TRUE(page->edtMaxLoss->isEnabled());

    page->chkInsertionLoss->setChecked(true);
    page->chkFrequency->setChecked(false);
    EXPECT_FALSE(page->chkInsertionLoss->isChecked());
    EXPECT_FALSE(page->chkInsertionLoss->isEnabled());
    EXPECT_FALSE(page->edtMaxLoss->isEnabled());
    // The band, length, units and VSWR stay usable in every state.
    for (QWidget* w : std::initializer_list<QWidget*>{page->cbxBeginningFrequency, page->cbxEndingFrequency,
                                                       page->edtLength, page->edtVSWR})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();

    page->chkFrequency->setChecked(true);
    EXPECT_TRUE(page->chkInsertionLoss->isEnabled());
    EXPECT_TRUE(page->edtMaxLoss->isEnabled());
    EXPECT_FALSE(page->chkInsertionLoss->isChecked());

    // Ticking the loss criterion from elsewhere (stored settings, a query file)
    // while the frequency criterion is off ticks that one too.
    page->chkFrequency->setChecked(false);
    page->chkInsertionLoss->setChecked(true);
    EXPECT_TRUE(page->chkFrequency->isChecked());
    EXPECT_TRUE(page->chkInsertionLoss->isChecked());
    EXPECT_TRUE(page->edtMaxLoss->isEnabled());
}

TEST_F(QueryPageFixture, ClickingTheBoxesRunsTheCoupling)
{
    ShowActive();
    QTest::mouseClick(page->chkFrequency, Qt::LeftButton);
    EXPECT_FALSE(page->chkFrequency->isChecked());
    EXPECT_FALSE(page->edtMaxLoss->isEnabled());
    QTest::mouseClick(page->chkFrequency, Qt::LeftButton);
    QTest::mouseClick(page->chkInsertionLoss, Qt::LeftButton);
    EXPECT_TRUE(page->chkInsertionLoss->isChecked());
    EXPECT_TRUE(page->chkFrequency->isChecked());
}

// ---- narrowing (catalogue beginnings 500, 800, 806, 1700, 1850; endings 700, 960, 2200)

struct NarrowCase {
    const char* name;
    bool leaveBeginning;  // else the ending box is left
    const char* beginning;
    const char* ending;
    QStringList otherItems;  // the other box's list afterwards
    const char* otherText;   // the other box's text afterwards
    const char* ownText;     // the left box's text afterwards
    QStringList boxes;
};

void PrintTo(const NarrowCase& c, std::ostream* out) { *out << c.name; }

class Narrowing : public QueryPageFixture, public ::testing::WithParamInterface<NarrowCase> {};

TEST_P(Narrowing, RebuildsTheOtherList)
{
    const NarrowCase& c = GetParam();
    ShowActive();
    page->cbxBeginningFrequency->setEditText(QLatin1String(c.beginning));
    page->cbxEndingFrequency->setEditText(QLatin1String(c.ending));
    QComboBox* left = c.leaveBeginning ? page->cbxBeginningFrequency : page->cbxEndingFrequency;
    QComboBox* other = c.leaveBeginning ? page->cbxEndingFrequency : page->cbxBeginningFrequency;
    Leave(left);
    EXPECT_EQ(Items(other), c.otherItems);
    EXPECT_EQ(other->currentText(), QLatin1String(c.otherText));
    EXPECT_EQ(left->currentText(), QLatin1String(c.ownText));
    EXPECT_EQ(BoxLines(install.fakes.messages), c.boxes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Narrowing,
    ::testing::Values(
        // A typed ending missing from the catalogue is added at the end.
        NarrowCase{"typed_ending_kept", true, "800", "900", {"960", "2200", "900"}, "900", "800", {}},
        // Raised above the ending: the smallest catalogue ending above it.
        NarrowCase{"beginning_raised_above_ending", true, "1000", "960", {"2200"}, "2200", "1000", {}},
        NarrowCase{"equal_values_beginning", true, "960", "960", {"2200", "960"}, "960", "960", {}},
        NarrowCase{"equal_values_ending", false, "960", "960", {"500", "800", "806", "960"}, "960", "960", {}},
        NarrowCase{"catalogue_ending_selected", true, "500", "960", {"700", "960", "2200"}, "960", "500", {}},
        NarrowCase{"ending_below_beginning", false, "800", "600", {"500"}, "500", "600", {}},
        NarrowCase{"ending_below_every_beginning", false, "800", "400", {}, "", "400", {}},
        // A non-number: the message, the first item, and the rule goes on.
        NarrowCase{"beginning_not_a_number", true, "abc", "900", {"700", "960", "2200", "900"}, "900", "500",
                   {kNotNumeric}},
        // An empty box has nothing to narrow by: nothing changes, no error box.
        NarrowCase{"beginning_empty", true, "", "900", {"700", "960", "2200"}, "900", "", {}},
        // A remembered text that is no number is dropped like an ending the
        // new beginning passed: the first item of the rebuilt list.
        NarrowCase{"remembered_ending_not_a_number", true, "800", "xyz", {"960", "2200"}, "960", "800", {}},
        NarrowCase{"remembered_beginning_empty", false, "", "900", {"500", "800", "806"}, "500", "900", {}}),
    [](const ::testing::TestParamInfo<NarrowCase>& info) { return std::string(info.param.name); });

// Without a catalogue both band boxes are empty and their lists too. Leaving
// one, typed into or not, raises nothing, so a click on Exit closes the
// window (an error box there would swallow the click, every time).
TEST(QueryPageWithoutCatalogue, LeavingABandBoxForExitClosesTheWindow)
{
    for (const char* typed : {"", "800", "abc"}) {
        SCOPED_TRACE(typed);
        Install install;
        install.WritePriceList();
        install.RecordDataFolder();
        const std::unique_ptr<TfrmMain> window = install.Open();
        TQueryValuesPage* page = window->tsQueryValues;
        ASSERT_EQ(page->cbxBeginningFrequency->count(), 0);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        page->cbxBeginningFrequency->setEditText(QLatin1String(typed));
        page->cbxBeginningFrequency->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(page->cbxBeginningFrequency->hasFocus());
        install.fakes.messages.Clear();
        QTest::mouseClick(page->btnClose, Qt::LeftButton);
        // A text that is no number still gets the entry rule's own message.
        EXPECT_EQ(BoxLines(install.fakes.messages),
                  QByteArray(typed) == "abc" ? QStringList{kNotNumeric} : QStringList());
        EXPECT_FALSE(window->isVisible());
    }
}

TEST_F(QueryPageFixture, NarrowingsStartFromTheFullCatalogueListsEachTime)
{
    ShowActive();
    page->cbxBeginningFrequency->setEditText(QStringLiteral("1000"));
    page->cbxEndingFrequency->setEditText(QStringLiteral("2200"));
    Leave(page->cbxBeginningFrequency);
    ASSERT_EQ(Items(page->cbxEndingFrequency), (QStringList{"2200"}));
    page->cbxBeginningFrequency->setEditText(QStringLiteral("600"));
    Leave(page->cbxBeginningFrequency);
    EXPECT_EQ(Items(page->cbxEndingFrequency), (QStringList{"700", "960", "2200"}));
    EXPECT_EQ(page->cbxEndingFrequency->currentText(), QStringLiteral("2200"));
}

TEST_F(QueryPageFixture, OpeningTheDropDownIsNotLeaving)
{
    ShowActive();
    page->cbxBeginningFrequency->setEditText(QStringLiteral("800"));
    page->cbxBeginningFrequency->setFocus(Qt::OtherFocusReason);
    const QStringList before = Items(page->cbxEndingFrequency);
    page->cbxBeginningFrequency->showPopup();
    page->cbxBeginningFrequency->hidePopup();
    EXPECT_EQ(Items(page->cbxEndingFrequency), before);
}

}  // namespace
}  // namespace quillon
