// The seams' helpers, the real message boxes and shell driven headless, and
// the doubles that other layers' tests rely on.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QTest>
#include <QDesktopServices>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "tests/support/QtPrinters.h"
#include "platform/ActiveWindowKeeper.h"
#include "platform/AppPaths.h"
#include "platform/DesktopMessages.h"
#include "platform/DesktopShell.h"
#include "platform/Fakes.h"
#include "platform/SystemClock.h"

using namespace quillon;

namespace {

TEST(DisplayText, TurnsCarriageReturnsIntoLines)
{
    struct Case {
        const char* text;
        const char* shown;
    };
    for (const Case& c : {Case{"Download Complete.\rClick OK to continue with installation",
                               "Download Complete.\nClick OK to continue with installation"},
                          Case{"one\r\ntwo\r\n\r\nthree", "one\ntwo\n\nthree"},
                          Case{"a\r\rb", "a\n\nb"},
                          Case{"Update Cancelled", "Update Cancelled"}}) {
        EXPECT_EQ(DisplayText(QString::fromLatin1(c.text)), QString::fromLatin1(c.shown));
    }
}

// Answers the next message box that opens, as a person would.
void AnswerNextBox(QMessageBox::StandardButton button, bool tick)
{
    auto tries = std::make_shared<int>(0);
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, button, tick] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box == nullptr || !box->isVisible())
                continue;
            if (tick && box->checkBox() != nullptr)
                box->checkBox()->setChecked(true);
            box->button(button)->click();
            timer->deleteLater();
            return;
        }
        // Never leave a test hanging on a box nobody found.
        if (++*tries > 500) {
            ADD_FAILURE() << "no message box appeared";
            timer->deleteLater();
        }
    });
    timer->start(5);
}

TEST(DesktopMessages, QuestionReturnsTheButtonAndTheCheckBox)
{
    DesktopMessages messages;
    AnswerNextBox(QMessageBox::No, true);
    const QuestionAnswer answer = messages.Question(QStringLiteral("Would you like to run Freshline now?"),
                                                    QStringLiteral("Tarvex Freshline"),
                                                    QStringLiteral("Don't ask me again."));
    EXPECT_EQ(answer.button, MessageButton::No);
    EXPECT_TRUE(answer.checked);

    AnswerNextBox(QMessageBox::Cancel, false);
    const QuestionAnswer plain = messages.Question(QStringLiteral("Continue?"), QString(), QString(),
                                                   MessageIcon::Warning);
    EXPECT_EQ(plain.button, MessageButton::Cancel);
    EXPECT_FALSE(plain.checked);

    AnswerNextBox(QMessageBox::Yes, false);
    EXPECT_TRUE(messages.Confirmation(QStringLiteral("Sure?")));
    AnswerNextBox(QMessageBox::No, false);
    EXPECT_FALSE(messages.Confirmation(QStringLiteral("Sure?")));
}

TEST(DesktopMessages, QuestionBoxShowsLinesButtonsAndCheckBox)
{
    const auto box = BuildQuestionBox(QStringLiteral("first\r\nsecond"), QStringLiteral("Tarvex Freshline"),
                                      QStringLiteral("Don't ask me again."), MessageIcon::Question);
    EXPECT_EQ(box->text(), QStringLiteral("first\nsecond"));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Tarvex Freshline"));
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    ASSERT_NE(box->checkBox(), nullptr);
    EXPECT_EQ(box->checkBox()->text(), QStringLiteral("Don't ask me again."));
    EXPECT_FALSE(box->checkBox()->isChecked());

    // Shown, the check box sits below the buttons, under the message's left
    // edge, and the whole box holds it.
    box->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
    const auto* buttons = box->findChild<QDialogButtonBox*>();
    const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(buttons, nullptr);
    ASSERT_NE(label, nullptr);
    const QRect check = box->checkBox()->geometry();
    EXPECT_GE(check.top(), buttons->geometry().bottom());
    EXPECT_EQ(check.left(), label->geometry().left());
    EXPECT_TRUE(box->rect().contains(check));
    EXPECT_GE(check.width(), box->checkBox()->sizeHint().width());
    box->hide();

    const auto warning = BuildQuestionBox(QStringLiteral("many"), QString(), QString(), MessageIcon::Warning);
    EXPECT_EQ(warning->icon(), QMessageBox::Warning);
    EXPECT_EQ(warning->checkBox(), nullptr);
}

// The chain the update window gives: a dialog over the main window, an error
// box over the dialog. As each closes, the window below is active again, so
// its shortcuts work without a click.
TEST(ActiveWindowKeeper, TheWindowBelowIsActiveAgainAsABoxAndThenItsDialogClose)
{
    const TActiveWindowKeeper keeper;
    QWidget main;
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QDialog dialog(&main);
    const QWidget* activeAfterBox = nullptr;
    bool dialogActive = false;
    QTimer::singleShot(0, &dialog, [&] {
        // As a person's click on the dialog's button comes: once it is active.
        dialogActive = QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; });
        AnswerNextBox(QMessageBox::Ok, false);
        DesktopMessages().Error(QStringLiteral("Unable to dowload the file."));
        QCoreApplication::processEvents();
        activeAfterBox = QApplication::activeWindow();
        dialog.reject();
    });
    dialog.exec();
    QCoreApplication::processEvents();
    ASSERT_TRUE(dialogActive);
    EXPECT_EQ(activeAfterBox, &dialog);
    EXPECT_EQ(QApplication::activeWindow(), &main);
}

TEST(FileDialogs, FiltersBecomeQtFilters)
{
    struct Case {
        const char* filter;
        const char* qt;
    };
    for (const Case& c : {Case{"Quillon Files (*.qlx)|*.qlx", "Quillon Files (*.qlx)"},
                          Case{"MS Excel Files (*.xls)|*.xls", "MS Excel Files (*.xls)"},
                          Case{"Web Pages|*.htm;*.html", "Web Pages (*.htm *.html)"},
                          Case{"Text (*.txt)|*.txt|All Files (*.*)|*.*", "Text (*.txt);;All Files (*.*)"},
                          Case{"", ""}}) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(ToQtFilter(QString::fromLatin1(c.filter)), QString::fromLatin1(c.qt));
    }
}

TEST(FileDialogs, DefaultExtensionOnlyForANameWithoutOne)
{
    struct Case {
        const char* path;
        const char* extension;
        const char* result;
    };
    for (const Case& c : {Case{"/home/u/xls/results", "xls", "/home/u/xls/results.xls"},
                          Case{"/home/u/qlx/query", ".qlx", "/home/u/qlx/query.qlx"},
                          Case{"/home/u/xls/results.txt", "xls", "/home/u/xls/results.txt"},
                          Case{"/home/u/my.folder/results", "xls", "/home/u/my.folder/results.xls"},
                          Case{"C:\\Quillon\\xls\\results", "xls", "C:\\Quillon\\xls\\results.xls"},
                          Case{"/home/u/results", "", "/home/u/results"},
                          Case{"", "xls", ""}}) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(WithDefaultExtension(QString::fromLatin1(c.path), QString::fromLatin1(c.extension)),
                  QString::fromLatin1(c.result));
    }
}

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls << url; }
};

TEST(DesktopShell, OpensFilesAndAddresses)
{
    EXPECT_EQ(ShellUrl(QStringLiteral("/tmp/xls/results.xls")), QUrl::fromLocalFile(QStringLiteral("/tmp/xls/results.xls")));
    EXPECT_EQ(ShellUrl(QStringLiteral("C:\\Program Files\\Tarvex\\pricing.exe")).scheme(), QStringLiteral("file"));
    EXPECT_EQ(ShellUrl(QStringLiteral("mailto:support@example.com?subject=QUILLON")).scheme(), QStringLiteral("mailto"));

    UrlRecorder recorder;
    const QStringList schemes{"file", "http", "https", "mailto"};
    for (const QString& scheme : schemes)
        QDesktopServices::setUrlHandler(scheme, &recorder, "Open");
    DesktopShell shell;
    EXPECT_TRUE(shell.Open(QStringLiteral("/tmp/html/results.html")));
    EXPECT_TRUE(shell.Open(QStringLiteral("https://www.example.com/news")));
    EXPECT_TRUE(shell.Open(QStringLiteral("mailto:support@example.com?subject=QUILLON")));
    for (const QString& scheme : schemes)
        QDesktopServices::unsetUrlHandler(scheme);
    EXPECT_EQ(recorder.urls, (QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/html/results.html")),
                                          QUrl(QStringLiteral("https://www.example.com/news")),
                                          QUrl(QStringLiteral("mailto:support@example.com?subject=QUILLON"))}));
}

TEST(Clock, FakePausesWithoutSleeping)
{
    FakeClock clock(QDateTime(QDate(2024, 2, 29), QTime(23, 59, 55)));
    QElapsedTimer elapsed;
    elapsed.start();
    clock.Pause(10'000);
    clock.Pause(10'000);
    EXPECT_LT(elapsed.elapsed(), 1000);
    EXPECT_EQ(clock.Pauses(), (std::vector<int>{10'000, 10'000}));
    EXPECT_EQ(clock.Now(), QDateTime(QDate(2024, 3, 1), QTime(0, 0, 15)));
}

TEST(Clock, SystemPauseKeepsEventsFlowing)
{
    SystemClock clock;
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    clock.Pause(20);
    EXPECT_TRUE(timerRan);
}

TEST(FakeMessages, RecordsEveryCallAndAnswersInTurn)
{
    FakeMessages messages;
    messages.QueueAnswer(MessageButton::Yes, true);
    messages.QueueAnswer(MessageButton::Yes);

    messages.DefaultBeep();
    const QuestionAnswer first = messages.Question(QStringLiteral("Run now?"), QStringLiteral("Tarvex Freshline"),
                                                   QStringLiteral("Don't ask me again."));
    messages.Error(QStringLiteral("Update Cancelled"));
    const bool second = messages.Confirmation(QStringLiteral("Sure?"));
    const QuestionAnswer third = messages.Question(QStringLiteral("Again?"), QString());  // queue empty: No
    messages.InformationSound();

    EXPECT_EQ(first.button, MessageButton::Yes);
    EXPECT_TRUE(first.checked);
    EXPECT_TRUE(second);
    EXPECT_EQ(third.button, MessageButton::No);
    ASSERT_EQ(messages.Calls().size(), 6u);
    EXPECT_EQ(messages.Calls()[0].kind, MessageCall::DefaultBeep);
    EXPECT_EQ(messages.Calls()[1].caption, QStringLiteral("Tarvex Freshline"));
    EXPECT_EQ(messages.Calls()[1].checkBoxText, QStringLiteral("Don't ask me again."));
    EXPECT_EQ(messages.Calls()[2].kind, MessageCall::Error);
    EXPECT_EQ(messages.Calls()[2].text, QStringLiteral("Update Cancelled"));
    EXPECT_EQ(messages.Boxes().size(), 4u);

    // A tick is only possible on a box that has the check box.
    messages.QueueAnswer(MessageButton::No, true);
    EXPECT_FALSE(messages.Question(QStringLiteral("Plain?"), QString()).checked);
}

TEST(FakeFileDialogs, AnswersInTurnAndAddsTheDefaultExtension)
{
    FakeFileDialogs dialogs;
    dialogs.QueueAnswer(QStringLiteral("/tmp/xls/results"));
    FileDialogRequest request{QStringLiteral("Select A File"), QStringLiteral("/tmp/xls"), QString(),
                              QStringLiteral("MS Excel Files (*.xls)|*.xls"), QStringLiteral("xls"), true};
    EXPECT_EQ(dialogs.SaveFile(request), QStringLiteral("/tmp/xls/results.xls"));
    EXPECT_EQ(dialogs.SaveFile(request), QString());  // nothing queued: cancelled
    ASSERT_EQ(dialogs.Requests().size(), 2u);
    EXPECT_EQ(dialogs.Requests()[0].kind, FileDialogKind::Save);
    EXPECT_EQ(dialogs.Requests()[0].request.title, QStringLiteral("Select A File"));
}

TEST(AppPaths, OverridesComeBeforeTheEnvironmentAndTheDefault)
{
    const QByteArray saved = qgetenv(kSettingsFileVariable);
    qputenv(kSettingsFileVariable, "/tmp/portable/registry.json");
    EXPECT_EQ(AppPaths().SettingsFile(), QStringLiteral("/tmp/portable/registry.json"));
    EXPECT_EQ(AppPaths({}, QStringLiteral("/tmp/test/registry.json")).SettingsFile(),
              QStringLiteral("/tmp/test/registry.json"));
    qunsetenv(kSettingsFileVariable);
    EXPECT_EQ(AppPaths().SettingsFile(), AppPaths::DefaultSettingsFile());
    EXPECT_TRUE(AppPaths::DefaultSettingsFile().endsWith(QLatin1String("/Tarvex/registry.json")));
    if (!saved.isNull())
        qputenv(kSettingsFileVariable, saved);

    EXPECT_EQ(AppPaths().ProgramFolder(), QCoreApplication::applicationDirPath());
    EXPECT_EQ(AppPaths(QStringLiteral("/opt/quillon/")).ProgramFolder(), QStringLiteral("/opt/quillon"));
}

TEST(Seams, SettingsUseThePathsFileAndTheHooks)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    FakeSeams fakes(folder.path(), folder.filePath(QStringLiteral("registry.json")));
    Seams& seams = fakes.Get();
    seams.classesRoot = [](const QString&) { return true; };
    int problems = 0;
    seams.onSettingsProblem = [&](const SettingsProblem&) { ++problems; };

    SettingsStore store = seams.Settings();
    EXPECT_EQ(store.FilePath(), folder.filePath(QStringLiteral("registry.json")));
    EXPECT_TRUE(store.ClassesRootKeyExists(QStringLiteral("Excel.Application")));
    {
        QFile damaged(store.FilePath());
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write("not a store");
    }
    EXPECT_FALSE(store.KeyExists(QStringLiteral("Software")));
    EXPECT_EQ(problems, 1);
}

}  // namespace

#include "SeamsTest.moc"
