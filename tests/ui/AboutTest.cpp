// The About box: its texts, the two hidden views and what closes it; and the
// program's pictures, every one of which must load.

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include "tests/ui/Install.h"
#include "ui/about.h"

namespace quillon {
namespace {

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        box.show();
        box.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    }

    // Which of the six parts show, in the order Image1, Label1, Memo1, Button1, Image2, Image3.
    std::vector<bool> Shown() const
    {
        std::vector<bool> shown;
        for (const QWidget* w : std::initializer_list<const QWidget*>{box.Image1, box.Label1, box.Memo1, box.Button1,
                                                                       box.Image2, box.Image3})
            shown.push_back(w->isVisible());
        return shown;
    }

    TfrmAbout box;
};

const std::vector<bool> kTermsView{true, true, true, true, false, false};
const std::vector<bool> kFirstView{false, false, false, true, true, false};
const std::vector<bool> kSecondView{false, false, false, false, false, true};

TEST_F(AboutBox, ShowsTheNameAndTheTermsLineByLine)
{
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(box.size(), QSize(290, 376));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_FALSE(box.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(box.Label1->text(), QStringLiteral("Tarvex QUILLON (TM)"));
    EXPECT_EQ(box.Label1->font().pixelSize(), 24);
    EXPECT_TRUE(box.Label1->font().bold());
    EXPECT_EQ(box.Button1->text(), QStringLiteral("&Ok"));
    EXPECT_EQ(box.Image1->pixmap().size(), QSize(126, 37));
    EXPECT_EQ(box.Memo1->size(), QSize(289, 257));
    EXPECT_TRUE(box.Memo1->isReadOnly());
    EXPECT_EQ(box.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(box.Memo1->palette().color(QPalette::Text), QColor(Qt::blue));
    EXPECT_EQ(Shown(), kTermsView);

    // Trailing blanks and the empty rows are part of the text.
    const QStringList expected{
        "Terms",
        "",
        "This Price List covers the Product Lines in Catalog Q-26.  ",
        "Prices and specifications are subject to change without ",
        "notice.  Prices as listed are based on delivery FOB ",
        "Origin for U.S. domestic orders and EXW, Tarvex ",
        "Factory, for international orders.  Prices do not include ",
        "export packing, insurance, taxes, tariffs, or duties.  ",
        "Refundable deposits are charged for some skids and ",
        "large size cable reels.  All orders are subject to a ",
        "minimum charge of $50.00 net.  Contact you local ",
        "Tarvex representative or Sales Office for specific ",
        "quotations regarding price, delivery, payment, and ",
        "other terms of sale.  ",
        "",
        "All  orders are subject to acceptance by Tarvex ",
        "and shall be governed by the Tarvex Terms and ",
        "Conditions of Sale applicable to the Tarvex Location ",
        "accepting the order.",
        "",
        "Questions or comments?",
        "email support@tarvex.example",
    };
    QStringList lines;
    for (QTextBlock block = box.Memo1->document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    EXPECT_EQ(lines, expected);
}

struct KeyRun {
    const char* name;
    const char* letters;
    bool alt;
    std::vector<bool> view;
};

void PrintTo(const KeyRun& run, std::ostream* out) { *out << run.name; }

class CodeWord : public AboutBox, public ::testing::WithParamInterface<KeyRun> {};

// Each letter is released in turn on the box, the memo and the button.
TEST_P(CodeWord, ShowsTheSecondPictureOnlyForOneRunWithAltHeld)
{
    const KeyRun& run = GetParam();
    QWidget* targets[] = {&box, box.Memo1, box.Button1};
    int i = 0;
    for (const char* c = run.letters; *c != '\0'; ++c, ++i) {
        const auto key = *c == '-' ? Qt::Key_Alt : static_cast<Qt::Key>(*c);
        QTest::keyRelease(targets[i % 3], key, run.alt ? Qt::AltModifier : Qt::NoModifier);
    }
    EXPECT_EQ(Shown(), run.view);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CodeWord,
    ::testing::Values(KeyRun{"word_with_alt", "WREN", true, kSecondView},
                      KeyRun{"word_without_alt", "WREN", false, kTermsView},
                      KeyRun{"letter_between", "WRXEN", true, kTermsView},
                      KeyRun{"wrong_letter_starts_again_from_itself", "WREWREN", true, kSecondView},
                      KeyRun{"restart_does_not_keep_the_old_start", "WRERREN", true, kTermsView},
                      KeyRun{"after_other_letters", "QNWREN", true, kSecondView},
                      KeyRun{"alt_key_released_between_letters", "W-R-E-N", true, kSecondView}),
    [](const ::testing::TestParamInfo<KeyRun>& info) { return std::string(info.param.name); });

TEST_F(AboutBox, CodeWordReleasesWithoutAltInBetweenAreIgnored)
{
    QTest::keyRelease(box.Memo1, Qt::Key_W, Qt::AltModifier);
    QTest::keyRelease(box.Memo1, Qt::Key_X, Qt::NoModifier);
    QTest::keyRelease(box.Memo1, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(box.CodeBuffer(), QStringLiteral("WR"));
    QTest::keyRelease(box.Memo1, Qt::Key_E, Qt::AltModifier);
    QTest::keyRelease(box.Memo1, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(Shown(), kSecondView);
    EXPECT_TRUE(box.CodeBuffer().isEmpty());
}

TEST_F(AboutBox, UpperCaseQShowsTheFirstPictureAndTheWordLaterTheSecond)
{
    // Lower case, another capital and Q with Alt held change nothing.
    QTest::keyClick(box.Memo1, 'q');
    QTest::keyClick(box.Button1, 'W');
    QTest::keyClick(&box, Qt::Key_Q, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(Shown(), kTermsView);

    QTest::keyClick(box.Memo1, 'Q');
    EXPECT_EQ(Shown(), kFirstView);
    QTest::keyClick(box.Button1, 'Q');  // nothing undoes a view
    EXPECT_EQ(Shown(), kFirstView);

    for (Qt::Key key : {Qt::Key_W, Qt::Key_R, Qt::Key_E, Qt::Key_N}) QTest::keyRelease(&box, key, Qt::AltModifier);
    EXPECT_EQ(Shown(), kSecondView);
}

TEST(AboutBoxClose, AnyClickOrEnterOnOkClosesIt)
{
    struct Way {
        const char* name;
        std::function<QWidget*(TfrmAbout&)> target;
        bool secondView;
    };
    const Way ways[] = {
        {"box", [](TfrmAbout& b) { return static_cast<QWidget*>(&b); }, false},
        {"Image1", [](TfrmAbout& b) { return static_cast<QWidget*>(b.Image1); }, false},
        {"Label1", [](TfrmAbout& b) { return static_cast<QWidget*>(b.Label1); }, false},
        {"Memo1", [](TfrmAbout& b) { return b.Memo1->viewport(); }, false},
        {"Button1", [](TfrmAbout& b) { return static_cast<QWidget*>(b.Button1); }, false},
        {"Image3", [](TfrmAbout& b) { return static_cast<QWidget*>(b.Image3); }, true},
        {"box_after_second_view", [](TfrmAbout& b) { return static_cast<QWidget*>(&b); }, true},
    };
    for (const Way& way : ways) {
        TfrmAbout box;
        box.show();
        if (way.secondView)
            for (Qt::Key key : {Qt::Key_W, Qt::Key_R, Qt::Key_E, Qt::Key_N})
                QTest::keyRelease(&box, key, Qt::AltModifier);
        QWidget* target = way.target(box);
        ASSERT_TRUE(target->isVisible()) << way.name;
        // Left of the picture itself, where the box shows through, for the box.
        const QPoint at = target == &box ? QPoint(5, 5) : target->rect().center();
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);
        EXPECT_FALSE(box.isVisible()) << way.name;
    }

    // The scroll bar scrolls the terms and leaves the box open.
    TfrmAbout box;
    box.show();
    QTest::mouseClick(box.Memo1->verticalScrollBar(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(5, box.Memo1->verticalScrollBar()->height() - 5));
    EXPECT_TRUE(box.isVisible());
}

TEST_F(AboutBox, EnterOnTheFocusedOkClosesIt)
{
    ASSERT_TRUE(box.Button1->hasFocus());
    QTest::keyClick(box.Button1, Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
}

// Every picture the program carries, with the sizes its windows are laid out for.
TEST(Pictures, EveryPictureLoadsAndTheAboutPictureIsAJpeg)
{
    const std::map<QString, QSize> sizes{
        {":/images/logo.png", {126, 37}},        {":/images/about.jpg", {126, 37}},
        {":/images/splash.png", {407, 243}},     {":/images/surprise1.png", {169, 184}},
        {":/images/surprise2.png", {201, 200}},  {":/images/news.png", {60, 60}},
        {":/images/icon.png", {256, 256}},       {":/images/icon-64.png", {64, 64}},
        {":/images/icon-32.png", {32, 32}},      {":/images/icon-16.png", {16, 16}},
    };
    QStringList found;
    QDirIterator it(QStringLiteral(":/images"), QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        found << path;
        const QImage image(path);
        EXPECT_FALSE(image.isNull()) << path.toStdString();
        if (const auto size = sizes.find(path); size != sizes.end()) {
            EXPECT_EQ(image.size(), size->second) << path.toStdString();
        }
    }
    for (const auto& [path, size] : sizes) EXPECT_TRUE(found.contains(path)) << path.toStdString();

    // The About picture is a real JPEG, read by the JPEG decoder.
    QFile file(QStringLiteral(":/images/about.jpg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.peek(3) == QByteArray("\xFF\xD8\xFF", 3));
    file.close();
    ASSERT_TRUE(QImageReader::supportedImageFormats().contains("jpeg"));
    QImageReader reader(QStringLiteral(":/images/about.jpg"), "jpeg");
    reader.setDecideFormatFromContent(false);
    const QImage jpeg = reader.read();
    EXPECT_FALSE(jpeg.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(reader.format(), QByteArray("jpeg"));
    EXPECT_EQ(jpeg.size(), QSize(126, 37));
}

}  // namespace
}  // namespace quillon
