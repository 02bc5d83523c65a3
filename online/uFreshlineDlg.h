#pragma once
// The update reminder: keeps the date from which the user is reminded to fetch
// new prices and program files from the maker, asks when that date has come,
// and runs the update window. The reminder key is shared by every program of
// the maker that carries it, so they all follow one schedule.
//
// The main window owns one, calls CheckReminder() on activation (before the
// news reminder) and Execute() from its "Freshline" menu item:
//
//     FreshlineDlg1 = new TFreshlineDlg(seams, this);
//     FreshlineDlg1->SetDefaultProgram(QStringLiteral("QUILLON"));

#include <functional>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "online/UpdateWindow.h"
#include "online/OnlineCommon.h"
#include "platform/Messages.h"

namespace quillon {

struct Seams;

class TFreshlineDlg : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString DefaultProgram READ DefaultProgram WRITE SetDefaultProgram)
    Q_PROPERTY(QString RegistryKey READ RegistryKey WRITE SetRegistryKey)
    Q_PROPERTY(int UpdateInterval READ UpdateInterval WRITE SetUpdateInterval)
    Q_PROPERTY(bool DefaultToPricing READ DefaultToPricing WRITE SetDefaultToPricing)

public:
    // Shows the window modally and gives its result (QDialog::Accepted or
    // Rejected). The default runs exec(); tests drive the window instead.
    using ModalRunner = std::function<int(TfrmUpdate&)>;

    // parent: the owning window; it also parents the prompt and the update window.
    explicit TFreshlineDlg(Seams& seams, QWidget* parent = nullptr);

    // The program whose row the update window preselects (a MenuCaption).
    QString DefaultProgram() const { return defaultProgram_; }
    void SetDefaultProgram(const QString& name) { defaultProgram_ = name; }
    // Empty: the reminder key is "\Software\Tarvex\Freshline"; otherwise
    // "\Software\Tarvex\" + RegistryKey + "\Freshline".
    QString RegistryKey() const { return registryKey_; }
    void SetRegistryKey(const QString& key) { registryKey_ = key; }
    // Days; used on first run and whenever no usable interval is stored or entered.
    int UpdateInterval() const { return updateInterval_; }
    void SetUpdateInterval(int days) { updateInterval_ = days; }
    // true: the window opens on "Update Pricing &Database Only".
    bool DefaultToPricing() const { return defaultToPricing_; }
    void SetDefaultToPricing(bool pricing) { defaultToPricing_ = pricing; }

    QString ReminderKey() const;

    // On every activation of the owning window. Shows the prompt when the
    // reminder is due and runs the update after a Yes. A stored date that is
    // no date is reported in the standard error box.
    // A start's first dates go into firstRun when one is given (the
    // caller commits it), else they are written at once.
    void CheckReminder(ReminderWrites* firstRun = nullptr);
    // The "Run Freshline now?" prompt; a ticked "Don't ask me again." turns
    // the reminder off whatever the answer.
    MessageButton AskToRun();
    // The update window, modally. True when it closed after a successful
    // update and the next reminder was stored.
    bool Execute();
    // Stores the next reminder from the window's reminder controls. Raises
    // OnlineError for a days text that is a number but not a whole one; then
    // nothing is stored.
    void SaveReminder(const TfrmUpdate& window);

    void SetModalRunner(ModalRunner runner) { modalRunner_ = std::move(runner); }

private:
    void RunCheck(ReminderWrites* firstRun);

    Seams& seams_;
    QPointer<QWidget> parentWidget_;
    QString defaultProgram_;
    QString registryKey_;
    int updateInterval_ = 30;
    bool defaultToPricing_ = true;
    ModalRunner modalRunner_;
    // A check that comes while the prompt or the window is open is not a new one.
    bool running_ = false;
};

}  // namespace quillon
