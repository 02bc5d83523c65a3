#include "online/uNewsDlg.h"

#include <QCheckBox>
#include <QComboBox>

#include <utility>

#include "online/NewsPages.h"
#include "online/OnlineCommon.h"
#include "platform/Seams.h"

namespace quillon {
namespace {

const QString kNextUpdate = QStringLiteral("NextUpdate");

}  // namespace

TNewsDlg::TNewsDlg(Seams& seams, QWidget* parent) : QObject(parent), seams_(seams), parentWidget_(parent)
{
    setObjectName(QStringLiteral("NewsDlg1"));
}

QString TNewsDlg::ReminderKey() const
{
    return ReminderKeyPath(registryKey_, QStringLiteral("News"));
}

void TNewsDlg::CheckReminder(ReminderWrites* firstRun)
{
    if (running_) return;
    const BusyScope running(running_);
    try {
        RunCheck(firstRun);
    } catch (const OnlineError& error) {
        // Earlier reminders' failures show first, as they happened first.
        if (firstRun != nullptr) firstRun->Commit(seams_);
        seams_.messages.Error(error.Text());
    }
}

void TNewsDlg::RunCheck(ReminderWrites* firstRun)
{
    bool due = false;
    {
        SettingsStore store = seams_.Settings();
        // The key is made with the first run's value, in the same write.
        const bool keyFound = store.KeyExists(ReminderKey());
        if (keyFound) OpenKeyOrRaise(store, ReminderKey());
        if (!keyFound || !store.ValueExists(kNextUpdate)) {
            // First run: the offer starts one interval from now; no interval is stored.
            QList<SettingsValueWrite> first{{kNextUpdate, ShortDateAfter(seams_.clock.Now().date(), updateInterval_)}};
            if (firstRun != nullptr)
                firstRun->Add(ReminderKey(), keyFound, std::move(first));
            else
                WriteValuesOrRaise(store, ReminderKey(), keyFound, first);
            return;
        }
        const std::optional<QString> next = store.ReadString(kNextUpdate);
        if (!next) throw OnlineError(store.LastError());
        if (*next == QLatin1String("0")) return;
        due = IsDue(seams_.clock.Now(), ReadShortDate(*next));
    }
    if (!due) return;
    if (firstRun != nullptr) firstRun->Commit(seams_);
    if (AskToView() == MessageButton::Yes) Execute();
}

MessageButton TNewsDlg::AskToView()
{
    const QuestionAnswer answer = seams_.messages.Question(
        QStringLiteral("View the latest press releases from Tarvex Corporation?"),
        QStringLiteral("Tarvex Press Releases"), QStringLiteral("Don't ask me again."), MessageIcon::Question);
    if (answer.checked) TurnReminderOff(seams_, ReminderKey());
    return answer.button;
}

bool TNewsDlg::Execute()
{
    const BusyScope running(running_);
    bool shown = false;
    try {
        TfrmNews window(seams_, parentWidget_);
        window.cboNumDays->setEditText(StoredIntervalText(seams_, ReminderKey(), updateInterval_));
        const QString folder = NewsFolder(seams_);
        if (DownloadPages(seams_, folder, parentWidget_)) {
            BuildLinkList(folder, window.Links, MakerWebServer(seams_));
            FillMemos(*window.memNews, *window.memSpotlight, window.Links);
            if (modalRunner_)
                modalRunner_(window);
            else
                window.exec();
            // Closed with "&Close" or the title bar alike.
            shown = true;
            SaveReminder(window);
        }
    } catch (const OnlineError& error) {
        seams_.messages.Error(error.Text());
    }
    return shown;
}

void TNewsDlg::SaveReminder(const TfrmNews& window)
{
    StoreReminder(seams_, ReminderKey(), window.cboNumDays->currentText(), window.chkDisplayAgain->isChecked(), updateInterval_);
}

}  // namespace quillon
