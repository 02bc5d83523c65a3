#include "platform/Fakes.h"

#include <QFile>
#include <QFileInfo>

namespace quillon {

void FakeMessages::Information(const QString& text, const QString& caption)
{
    calls_.push_back({MessageCall::Information, caption, text, {}, MessageIcon::Question});
}

void FakeMessages::Warning(const QString& text, const QString& caption)
{
    calls_.push_back({MessageCall::Warning, caption, text, {}, MessageIcon::Question});
}

void FakeMessages::Error(const QString& text, const QString& caption)
{
    calls_.push_back({MessageCall::Error, caption, text, {}, MessageIcon::Question});
}

bool FakeMessages::Confirmation(const QString& text, const QString& caption)
{
    calls_.push_back({MessageCall::Confirmation, caption, text, {}, MessageIcon::Question});
    return NextAnswer().button == MessageButton::Yes;
}

QuestionAnswer FakeMessages::Question(const QString& text, const QString& caption,
                                      const QString& checkBoxText, MessageIcon icon)
{
    calls_.push_back({MessageCall::Question, caption, text, checkBoxText, icon});
    QuestionAnswer answer = NextAnswer();
    // A box without a check box cannot come back ticked.
    answer.checked = answer.checked && !checkBoxText.isEmpty();
    return answer;
}

void FakeMessages::DefaultBeep()
{
    calls_.push_back({MessageCall::DefaultBeep, {}, {}, {}, MessageIcon::Question});
}

void FakeMessages::InformationSound()
{
    calls_.push_back({MessageCall::InformationSound, {}, {}, {}, MessageIcon::Question});
}

void FakeMessages::QueueAnswer(MessageButton button, bool checked)
{
    answers_.push_back({button, checked});
}

void FakeMessages::SetDefaultAnswer(MessageButton button, bool checked)
{
    defaultAnswer_ = {button, checked};
}

std::vector<MessageRecord> FakeMessages::Boxes() const
{
    std::vector<MessageRecord> boxes;
    for (const MessageRecord& call : calls_) {
        if (call.kind != MessageCall::DefaultBeep && call.kind != MessageCall::InformationSound)
            boxes.push_back(call);
    }
    return boxes;
}

QuestionAnswer FakeMessages::NextAnswer()
{
    if (answers_.empty())
        return defaultAnswer_;
    QuestionAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

QString FakeFileDialogs::OpenFile(const FileDialogRequest& request)
{
    return Answer(FileDialogKind::Open, request);
}

QString FakeFileDialogs::SaveFile(const FileDialogRequest& request)
{
    return Answer(FileDialogKind::Save, request);
}

QString FakeFileDialogs::Answer(FileDialogKind kind, const FileDialogRequest& request)
{
    requests_.push_back({kind, request});
    if (answers_.empty())
        return {};
    const QString path = answers_.front();
    answers_.pop_front();
    return WithDefaultExtension(path, request.defaultExtension);
}

bool FakeShell::Open(const QString& target)
{
    opened_ << target;
    return result_;
}

QString FixedPaths::UserDataFolder() const
{
    if (!userDataFolder_.isEmpty() || settingsFile_.isEmpty()) return userDataFolder_;
    return QFileInfo(settingsFile_).path() + QStringLiteral("/user-data");
}

FakeClock::FakeClock(QDateTime now) : now_(std::move(now)) {}

void FakeClock::Pause(int ms)
{
    pauses_.push_back(ms);
    if (ms > 0)
        now_ = now_.addMSecs(ms);
}

DownloadResult FakeNetwork::DownloadToFile(const QUrl& url, const QString& path,
                                           const DownloadProgress& progress)
{
    requests_.push_back({url, path});
    Outcome outcome;
    if (!outcomes_.empty()) {
        outcome = outcomes_.front();
        outcomes_.pop_front();
    } else {
        outcome = {{true, {}, 200}, QByteArrayLiteral("downloaded")};
    }
    if (!outcome.result.ok)
        return outcome.result;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(outcome.body) != outcome.body.size())
        return {false, QStringLiteral("Cannot write ") + path, outcome.result.httpStatus};
    if (progress)
        progress(outcome.body.size(), outcome.body.size());
    return outcome.result;
}

void FakeNetwork::QueueSuccess(const QByteArray& body)
{
    outcomes_.push_back({{true, {}, 200}, body});
}

void FakeNetwork::QueueFailure(const QString& error, int httpStatus)
{
    outcomes_.push_back({{false, error, httpStatus}, {}});
}

}  // namespace quillon
