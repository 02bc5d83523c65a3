// The main window's reminders: checked once, at the first activation, the
// update reminder before the news; and the About, "Freshline" and news items.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "tests/support/StoreRewrites.h"
#include "tests/ui/Install.h"
#include "ui/QueryPage.h"
#include "ui/Unit1.h"
#include "ui/about.h"
#include "online/uFreshlineDlg.h"
#include "online/uNewsDlg.h"
#include "platform/SettingsStore.h"

namespace quillon {
namespace {

const QString kFreshlineKey = QStringLiteral("\\Software\\Tarvex\\Freshline");
const QString kNewsKey = QStringLiteral("\\Software\\Tarvex\\News");
const QString kNext = QStringLiteral("NextUpdate");

// Counts the times the window becomes the active one.
class ActivationCounter final : public QObject {
public:
    explicit ActivationCounter(QWidget* window) : window_(window) { window->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::ActivationChange && window_->isActiveWindow()) ++count;
        return false;
    }

private:
    QWidget* window_;
};

class Reminders : public ::testing::Test {
protected:
    void SetUp() override { install.WriteAll(); }

    void ShowActive()
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        // The check runs once the activation is over.
        QCoreApplication::processEvents();
    }

    std::optional<QString> Read(const QString& key, const QString& value) const
    {
        SettingsStore store(install.SettingsFile());
        if (!store.OpenKey(key, false)) return std::nullopt;
        return store.ReadString(value);
    }

    void Write(const QString& key, const QString& value, const QString& text) const
    {
        SettingsStore store(install.SettingsFile());
        ASSERT_TRUE(store.OpenKey(key, true));
        ASSERT_TRUE(store.WriteString(value, text));
    }

    // The captions of the prompts asked so far, beeps as "beep".
    QStringList Asked() const
    {
        QStringList asked;
        for (const MessageRecord& call : install.fakes.messages.Calls()) {
            if (call.kind == MessageCall::Question) asked << call.caption;
            if (call.kind == MessageCall::DefaultBeep) asked << QStringLiteral("beep");
        }
        return asked;
    }

    Install install;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(Reminders, FirstStartOnlyStoresTheDatesQuietly)
{
    window = install.Open();
    EXPECT_EQ(window->FreshlineDlg1->DefaultProgram(), QStringLiteral("QUILLON"));
    EXPECT_FALSE(Read(kFreshlineKey, kNext).has_value());  // not before the window shows
    ShowActive();
    // The fixed clock says 01/15/2024: 30 days for the update, 7 for the news.
    EXPECT_EQ(Read(kFreshlineKey, kNext), QStringLiteral("02/14/2024"));
    EXPECT_EQ(Read(kFreshlineKey, QStringLiteral("Interval")), QStringLiteral("30"));
    EXPECT_EQ(Read(kNewsKey, kNext), QStringLiteral("01/22/2024"));
    EXPECT_TRUE(install.fakes.messages.Calls().empty());
    EXPECT_TRUE(install.fakes.network.Requests().empty());
}

// The first start writes both reminders' first dates in one write; a later
// start writes nothing; closing stores the query in one write, and in none
// when it is as stored.
TEST_F(Reminders, StartsAndClosesWriteTheStoreAsLittleAsTheyCan)
{
    test::StoreRewrites rewrites(install.SettingsFile());
    ASSERT_TRUE(rewrites.Watching());
    window = install.Open();
    ShowActive();
    EXPECT_EQ(rewrites.Take(), 1);  // the update reminder's key and dates with the news reminder's
    window.reset();
    EXPECT_EQ(rewrites.Take(), 1);

    window = install.Open();
    ShowActive();
    EXPECT_EQ(rewrites.Take(), 0);
    window.reset();
    EXPECT_EQ(rewrites.Take(), 0);
    EXPECT_EQ(Read(kFreshlineKey, kNext), QStringLiteral("02/14/2024"));
}

TEST_F(Reminders, DueRemindersAskUpdateFirstAndOnlyAtTheFirstActivation)
{
    Write(kFreshlineKey, kNext, QStringLiteral("01/15/2024"));
    Write(kNewsKey, kNext, QStringLiteral("01/10/2024"));
    window = install.Open();
    ActivationCounter activations(window.get());
    ShowActive();  // both prompts answered "No" by the doubles: nothing stored, both stay due
    const QStringList firstRun{"beep", "Tarvex Freshline", "Tarvex Press Releases"};
    EXPECT_EQ(Asked(), firstRun);

    // The About box, modal, closed by its "&Ok"; the window becomes active again.
    bool aboutShown = false;
    QTimer::singleShot(0, window.get(), [&aboutShown] {
        auto* about = qobject_cast<TfrmAbout*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        aboutShown = about->windowTitle() == QStringLiteral("About");
        about->Button1->click();
    });
    window->Menu.About1->trigger();
    EXPECT_TRUE(aboutShown);
    EXPECT_TRUE(window->findChildren<TfrmAbout*>().isEmpty());  // released when it closed
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QCoreApplication::processEvents();
    ASSERT_GE(activations.count, 2);
    EXPECT_EQ(Asked(), firstRun);
    EXPECT_EQ(Read(kFreshlineKey, kNext), QStringLiteral("01/15/2024"));
}

TEST_F(Reminders, MenuItemsOpenTheUpdateAndNewsWindows)
{
    window = install.Open();
    ShowActive();
    int updateWindows = 0;
    int newsWindows = 0;
    window->FreshlineDlg1->SetModalRunner([&](TfrmUpdate&) {
        ++updateWindows;
        return int(QDialog::Rejected);
    });
    window->NewsDlg1->SetModalRunner([&](TfrmNews&) {
        ++newsWindows;
        return int(QDialog::Accepted);
    });
    QLineEdit* box = window->tsQueryValues->edtLength;
    box->setFocus();
    QTest::keyClick(box, Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(updateWindows, 1);
    EXPECT_EQ(newsWindows, 0);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(newsWindows, 1);
    // The news window comes after both pages were fetched (from the network double).
    EXPECT_EQ(install.fakes.network.Requests().size(), 2u);
    EXPECT_EQ(updateWindows, 1);
}

}  // namespace
}  // namespace quillon
