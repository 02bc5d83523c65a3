#pragma once
// The doubles and the settings file every online test starts from: a fixed
// clock, scripted boxes, a shell that notes what it was asked to open and
// when, and real downloads from a server on 127.0.0.1.

#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QProgressDialog>
#include <QTemporaryDir>

#include "tests/support/QtPrinters.h"
#include "tests/support/TestHttpServer.h"
#include "online/OnlineCommon.h"
#include "platform/Fakes.h"
#include "platform/HttpNetwork.h"
#include "platform/Seams.h"

// An installer body that arrives in several pieces and shows a piece out of place.
inline QByteArray InstallerBody(const QByteArray& name)
{
    QByteArray body;
    for (int i = 0; body.size() < 200'000; ++i) body += "line " + QByteArray::number(i) + " of " + name + "\r\n";
    return body;
}

namespace quillon {

// Readable messages for the recorded calls (Qt values: tests/support/QtPrinters.h).
inline void PrintTo(MessageCall kind, std::ostream* out)
{
    static const char* const names[] = {"Information", "Warning",     "Error",           "Confirmation",
                                        "Question",    "DefaultBeep", "InformationSound"};
    *out << names[static_cast<int>(kind)];
}

}  // namespace quillon

namespace quillon::test {

struct OpenRecord {
    QString target;
    QDateTime at;
};

// Notes each target with the (fake) time it was opened at.
class TimedShell final : public Shell {
public:
    explicit TimedShell(const Clock& clock) : clock_(clock) {}
    bool Open(const QString& target) override
    {
        opened.push_back({target, clock_.Now()});
        return true;
    }
    QStringList Targets() const
    {
        QStringList targets;
        for (const OpenRecord& record : opened) targets << record.target;
        return targets;
    }
    std::vector<OpenRecord> opened;

private:
    const Clock& clock_;
};

struct DownloadCall {
    QUrl url;
    QString path;
    bool ok = false;
    int cursorShape = -1;  // the override cursor while the download ran, -1 for none
    int progressMaximum = -1;
    int progressValue = -1;
};

// Real downloads; only the connection question is scripted. Notes what the
// user saw while each download ran.
class LoopbackNetwork final : public Network {
public:
    DownloadResult DownloadToFile(const QUrl& url, const QString& path, const DownloadProgress& progress = {}) override
    {
        DownloadCall call;
        call.url = url;
        call.path = path;
        if (const QCursor* cursor = QApplication::overrideCursor()) call.cursorShape = cursor->shape();
        const DownloadResult result = http_.DownloadToFile(url, path, progress);
        call.ok = result.ok;
        const auto widgets = QApplication::allWidgets();
        for (QWidget* widget : widgets) {
            if (auto* dialog = qobject_cast<QProgressDialog*>(widget)) {
                call.progressMaximum = dialog->maximum();
                call.progressValue = dialog->value();
            }
        }
        calls.push_back(call);
        return result;
    }
    bool IsConnected() override { return connected; }

    bool connected = true;
    std::vector<DownloadCall> calls;

private:
    HttpNetwork http_{std::chrono::milliseconds(10'000)};
};

class OnlineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(server.Listening());
        ASSERT_TRUE(QDir().mkpath(common));
        WriteValue(QString::fromLatin1(kCommonFilesKey), QStringLiteral("Path"), common);
        WriteValue(QString::fromLatin1(kCommonFilesKey), QString::fromLatin1(kWebServerValue), server.Address());
    }

    void WriteValue(const QString& key, const QString& name, const QString& text)
    {
        SettingsStore store = seams.Settings();
        ASSERT_TRUE(store.OpenKey(key, true)) << store.LastError().toStdString();
        ASSERT_TRUE(store.WriteString(name, text)) << store.LastError().toStdString();
    }
    void DeleteValue(const QString& key, const QString& name)
    {
        SettingsStore store = seams.Settings();
        ASSERT_TRUE(store.OpenKey(key, true));
        ASSERT_TRUE(store.DeleteValue(name));
    }
    // nullopt when the value (or its key) is missing.
    std::optional<QString> ReadValue(const QString& key, const QString& name)
    {
        SettingsStore store = seams.Settings();
        if (!store.KeyExists(key) || !store.OpenKey(key, false) || !store.ValueExists(name)) return std::nullopt;
        return store.ReadString(name);
    }

    std::vector<MessageCall> Kinds() const
    {
        std::vector<MessageCall> kinds;
        for (const MessageRecord& call : messages.Calls()) kinds.push_back(call.kind);
        return kinds;
    }

    QTemporaryDir dir;
    QString common = dir.filePath(QStringLiteral("Common Files"));
    FakeMessages messages;
    FakeFileDialogs fileDialogs;
    FakeClock clock{QDateTime(QDate(2024, 1, 15), QTime(9, 0))};
    TimedShell shell{clock};
    LoopbackNetwork network;
    FixedPaths paths{dir.path(), dir.filePath(QStringLiteral("registry.json"))};
    Seams seams{messages, fileDialogs, shell, clock, network, paths};
    TestHttpServer server;
};

}  // namespace quillon::test
