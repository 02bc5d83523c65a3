#pragma once
// The news reminder: at set intervals offers the maker's latest press-release
// headlines, fetches them on request and shows them in the news window, whose
// bottom row sets when they are offered again. The key is shared by every
// program of the maker that carries it.
//
// The main window owns one, calls CheckReminder() on activation right after
// the update reminder's, and Execute() from "View Latest News From &Tarvex":
//
//     NewsDlg1 = new TNewsDlg(seams, this);

#include <functional>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "online/NewsWindow.h"
#include "online/OnlineCommon.h"
#include "platform/Messages.h"

namespace quillon {

struct Seams;

class TNewsDlg : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString RegistryKey READ RegistryKey WRITE SetRegistryKey)
    Q_PROPERTY(int UpdateInterval READ UpdateInterval WRITE SetUpdateInterval)

public:
    // Shows the window modally and gives its result; the default runs exec().
    using ModalRunner = std::function<int(TfrmNews&)>;

    explicit TNewsDlg(Seams& seams, QWidget* parent = nullptr);

    // Empty: the key is "\Software\Tarvex\News"; otherwise
    // "\Software\Tarvex\" + RegistryKey + "\News".
    QString RegistryKey() const { return registryKey_; }
    void SetRegistryKey(const QString& key) { registryKey_ = key; }
    // Days; used on first run and whenever no usable interval is stored or entered.
    int UpdateInterval() const { return updateInterval_; }
    void SetUpdateInterval(int days) { updateInterval_ = days; }

    QString ReminderKey() const;

    // On every activation of the owning window: offers the news when due.
    // A start's first dates go into firstRun when one is given (the
    // caller commits it), else they are written at once.
    void CheckReminder(ReminderWrites* firstRun = nullptr);
    // "View the latest press releases...?"; a ticked "Don't ask me again."
    // turns the offer off whatever the answer.
    MessageButton AskToView();
    // Fetches the pages and shows the news window. False, with nothing shown
    // and nothing stored, when the pages could not be fetched.
    bool Execute();
    // Stores the next offer from the window's bottom row. Raises OnlineError
    // for a days text that is a number but not a whole one; then nothing is
    // stored.
    void SaveReminder(const TfrmNews& window);

    void SetModalRunner(ModalRunner runner) { modalRunner_ = std::move(runner); }

private:
    void RunCheck(ReminderWrites* firstRun);

    Seams& seams_;
    QPointer<QWidget> parentWidget_;
    QString registryKey_;
    int updateInterval_ = 7;
    ModalRunner modalRunner_;
    bool running_ = false;
};

}  // namespace quillon
