#include "online/uFreshlineDlg.h"

#include <QCheckBox>
#include <QComboBox>

#include <utility>

#include "online/OnlineCommon.h"
#include "platform/Seams.h"

namespace quillon {
namespace {

const QString kNextUpdate = QStringLiteral("NextUpdate");
const QString kInterval = QStringLiteral("Interval");
const QString kNewInstall = QStringLiteral("NewInstall");

}  // namespace

TFreshlineDlg::TFreshlineDlg(Seams& seams, QWidget* parent) : QObject(parent), seams_(seams), parentWidget_(parent)
{
    setObjectName(QStringLiteral("FreshlineDlg1"));
}

QString TFreshlineDlg::ReminderKey() const
{
    return ReminderKeyPath(registryKey_, QStringLiteral("Freshline"));
}

void TFreshlineDlg::CheckReminder(ReminderWrites* firstRun)
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

void TFreshlineDlg::RunCheck(ReminderWrites* firstRun)
{
    bool due = false;
    {
        SettingsStore store = seams_.Settings();
        // The key is made with the first run's values, in the same write.
        const bool keyFound = store.KeyExists(ReminderKey());
        if (keyFound) OpenKeyOrRaise(store, ReminderKey());
        if (!keyFound || !store.ValueExists(kNextUpdate) || store.ValueExists(kNewInstall)) {
            // First run, or an installer has just run: start a fresh interval quietly.
            const QDate today = seams_.clock.Now().date();
            SettingsValueWrite removeNewInstall{kNewInstall, std::nullopt};
            removeNewInstall.remove = true;
            QList<SettingsValueWrite> first{{kNextUpdate, ShortDateAfter(today, updateInterval_)},
                                            {kInterval, QString::number(updateInterval_)},
                                            removeNewInstall};
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
    seams_.messages.DefaultBeep();
    if (AskToRun() == MessageButton::Yes) Execute();
}

MessageButton TFreshlineDlg::AskToRun()
{
    const QuestionAnswer answer = seams_.messages.Question(
        QStringLiteral("It appears that you have not updated your pricing database in a while.\r\n"
                       "Running the Tarvex Freshline utility will ensure that you have the\r\n"
                       "latest pricing information in all of your programs within minutes.\r\n"
                       "\r\n"
                       "Would you like to run Freshline now?"),
        QStringLiteral("Tarvex Freshline"), QStringLiteral("Don't ask me again."), MessageIcon::Question);
    if (answer.checked) TurnReminderOff(seams_, ReminderKey());
    return answer.button;
}

bool TFreshlineDlg::Execute()
{
    const BusyScope running(running_);
    bool stored = false;
    try {
        TfrmUpdate window(seams_, parentWidget_);
        window.cboNumDays->setEditText(StoredIntervalText(seams_, ReminderKey(), updateInterval_));
        window.FillProgramList(defaultProgram_);
        if (!defaultToPricing_) window.SelectAction(TfrmUpdate::ProgramFiles);
        const int result = modalRunner_ ? modalRunner_(window) : window.exec();
        if (result == QDialog::Accepted) {
            SaveReminder(window);
            stored = true;
        }
    } catch (const OnlineError& error) {
        seams_.messages.Error(error.Text());
    }
    return stored;
}

void TFreshlineDlg::SaveReminder(const TfrmUpdate& window)
{
    StoreReminder(seams_, ReminderKey(), window.cboNumDays->currentText(), window.chkReminder->isChecked(), updateInterval_);
}

}  // namespace quillon
