#pragma once
// Test doubles for the seams. They stand in for what a person would do
// (answer a box, pick a file) and for time; each records what it was asked,
// in order, so tests can check texts and captions exactly.

#include <deque>
#include <vector>

#include <QByteArray>

#include "platform/Clock.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/Network.h"
#include "platform/Paths.h"
#include "platform/Shell.h"

namespace quillon {

enum class MessageCall {
    Information,
    Warning,
    Error,
    Confirmation,
    Question,
    DefaultBeep,
    InformationSound,
};

struct MessageRecord {
    MessageCall kind = MessageCall::Information;
    QString caption;
    QString text;          // as the program wrote it, CRs included
    QString checkBoxText;  // Question only
    MessageIcon icon = MessageIcon::Question;  // Question only
};

// Boxes with one OK button answer themselves. Confirmation and Question take
// the next queued answer, or the default answer when none is queued (No,
// unticked, unless changed). A queued Yes makes Confirmation true; anything
// else makes it false.
class FakeMessages final : public Messages {
public:
    void Information(const QString& text, const QString& caption = {}) override;
    void Warning(const QString& text, const QString& caption = {}) override;
    void Error(const QString& text, const QString& caption = {}) override;
    bool Confirmation(const QString& text, const QString& caption = {}) override;
    QuestionAnswer Question(const QString& text, const QString& caption,
                            const QString& checkBoxText = {},
                            MessageIcon icon = MessageIcon::Question) override;
    void DefaultBeep() override;
    void InformationSound() override;

    void QueueAnswer(MessageButton button, bool checked = false);
    void SetDefaultAnswer(MessageButton button, bool checked = false);
    std::size_t PendingAnswers() const { return answers_.size(); }

    const std::vector<MessageRecord>& Calls() const { return calls_; }
    // The boxes only (sounds left out), in order.
    std::vector<MessageRecord> Boxes() const;
    void Clear() { calls_.clear(); }

private:
    QuestionAnswer NextAnswer();

    std::vector<MessageRecord> calls_;
    std::deque<QuestionAnswer> answers_;
    QuestionAnswer defaultAnswer_{MessageButton::No, false};
};

enum class FileDialogKind { Open, Save };

struct FileDialogRecord {
    FileDialogKind kind = FileDialogKind::Open;
    FileDialogRequest request;
};

// Answers with queued paths ("" = cancel; cancel too when none is queued).
// Like the real dialogs, it adds the default extension to a name without one.
class FakeFileDialogs final : public FileDialogs {
public:
    QString OpenFile(const FileDialogRequest& request) override;
    QString SaveFile(const FileDialogRequest& request) override;

    void QueueAnswer(const QString& path) { answers_.push_back(path); }
    const std::vector<FileDialogRecord>& Requests() const { return requests_; }

private:
    QString Answer(FileDialogKind kind, const FileDialogRequest& request);

    std::vector<FileDialogRecord> requests_;
    std::deque<QString> answers_;
};

class FakeShell final : public Shell {
public:
    bool Open(const QString& target) override;

    void SetResult(bool result) { result_ = result; }
    const QStringList& Opened() const { return opened_; }

private:
    QStringList opened_;
    bool result_ = true;
};

// A clock that only moves when told to: Pause records the pause and moves
// "now" on by it at once; nothing ever sleeps.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime now = QDateTime(QDate(2024, 1, 15), QTime(9, 0)));

    QDateTime Now() const override { return now_; }
    void Pause(int ms) override;

    void SetNow(const QDateTime& now) { now_ = now; }
    void Advance(qint64 ms) { now_ = now_.addMSecs(ms); }
    const std::vector<int>& Pauses() const { return pauses_; }

private:
    QDateTime now_;
    std::vector<int> pauses_;
};

struct DownloadRecord {
    QUrl url;
    QString path;
};

// Downloads answer from a queue of scripted outcomes (success with a body
// when none is queued). A success writes the body to the path; a failure
// leaves the path alone, as the real download does.
class FakeNetwork final : public Network {
public:
    DownloadResult DownloadToFile(const QUrl& url, const QString& path,
                                  const DownloadProgress& progress = {}) override;
    bool IsConnected() override { return connected_; }

    void SetConnected(bool connected) { connected_ = connected; }
    void QueueSuccess(const QByteArray& body = QByteArrayLiteral("downloaded"));
    void QueueFailure(const QString& error = QStringLiteral("Failed"), int httpStatus = 0);
    const std::vector<DownloadRecord>& Requests() const { return requests_; }

private:
    struct Outcome {
        DownloadResult result;
        QByteArray body;
    };
    std::deque<Outcome> outcomes_;
    std::vector<DownloadRecord> requests_;
    bool connected_ = true;
};

class FixedPaths final : public Paths {
public:
    FixedPaths(QString programFolder, QString settingsFile)
        : programFolder_(std::move(programFolder)), settingsFile_(std::move(settingsFile))
    {
    }
    QString ProgramFolder() const override { return programFolder_; }
    QString SettingsFile() const override { return settingsFile_; }
    // As set; else "user-data" beside the settings file, which tests keep in
    // a temporary folder of their own.
    QString UserDataFolder() const override;
    void SetProgramFolder(const QString& folder) { programFolder_ = folder; }
    void SetSettingsFile(const QString& file) { settingsFile_ = file; }
    void SetUserDataFolder(const QString& folder) { userDataFolder_ = folder; }

private:
    QString programFolder_;
    QString settingsFile_;
    QString userDataFolder_;
};

}  // namespace quillon

#include "platform/Seams.h"

namespace quillon {

// A full set of doubles; tests script them through the public members.
class FakeSeams {
public:
    FakeSeams(QString programFolder, QString settingsFile)
        : paths(std::move(programFolder), std::move(settingsFile))
    {
    }
    FakeSeams(const FakeSeams&) = delete;
    FakeSeams& operator=(const FakeSeams&) = delete;

    Seams& Get() { return seams_; }

    FakeMessages messages;
    FakeFileDialogs fileDialogs;
    FakeShell shell;
    FakeClock clock;
    FakeNetwork network;
    FixedPaths paths;

private:
    Seams seams_{messages, fileDialogs, shell, clock, network, paths};
};

}  // namespace quillon
