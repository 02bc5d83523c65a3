// Programs killed while they write to the settings store: how many confirmed
// values are lost, and how long the next writer waits.
//
//     quillon-settings-kill-probe [kills]      (default 240)
//
// Each round starts a writer (this program again) that writes value after
// value into one key, each in its own open-write-close round, and says so
// after each; once it has confirmed its first value it is left to run for a
// random 0-20 ms and then killed with SIGKILL, which lands at any point of a
// write. At once another writer, this process, writes one value and the time
// it takes is taken. At the end every confirmed value is looked up.
//
// Prints figures; it checks nothing and never fails.

#include <algorithm>
#include <cstdio>
#include <random>
#include <thread>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "platform/SettingsStore.h"

namespace {

constexpr char kWriterFlag[] = "--writer";
const QString kKey = QStringLiteral("Software\\Tarvex\\Race");

int RunWriter(const QString& file, const QString& prefix)
{
    for (int i = 0;; ++i) {
        quillon::SettingsStore store(file);
        if (!store.OpenKey(kKey, true) || !store.WriteInteger(prefix + QString::number(i), i)) {
            std::fprintf(stderr, "write %d failed: %s\n", i, qPrintable(store.LastError()));
            return 1;
        }
        store.CloseKey();
        std::printf("wrote %d\n", i);
        std::fflush(stdout);
    }
}

int Confirmed(const QByteArray& output)
{
    int count = 0;
    for (const QByteArray& line : output.split('\n'))
        count += line.startsWith("wrote") ? 1 : 0;
    return count;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && qstrcmp(argv[1], kWriterFlag) == 0)
        return RunWriter(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));

    QCoreApplication app(argc, argv);
    const int kills = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 240;
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Tarvex/registry.json"));
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> runMicroseconds(0, 20'000);

    std::vector<int> confirmed(static_cast<std::size_t>(kills), 0);
    qint64 longestWait = 0;
    qint64 totalWait = 0;
    int slowNext = 0;  // waits of a second or more
    int failedNext = 0;
    for (int round = 0; round < kills; ++round) {
        QProcess writer;
        writer.start(QCoreApplication::applicationFilePath(),
                     {QString::fromLatin1(kWriterFlag), file, QStringLiteral("K%1_").arg(round)});
        QByteArray output;
        while (!output.contains("wrote") && writer.waitForReadyRead(30'000))
            output += writer.readAllStandardOutput();
        std::this_thread::sleep_for(std::chrono::microseconds(runMicroseconds(random)));
        writer.kill();
        writer.waitForFinished(30'000);
        output += writer.readAllStandardOutput();
        confirmed[static_cast<std::size_t>(round)] = Confirmed(output);

        QElapsedTimer timer;
        timer.start();
        quillon::SettingsStore next(file);
        const bool ok = next.OpenKey(kKey, true) && next.WriteInteger(QStringLiteral("Next%1").arg(round), round);
        const qint64 waited = timer.elapsed();
        if (!ok) {
            ++failedNext;
            std::fprintf(stderr, "round %d: the next write failed: %s\n", round, qPrintable(next.LastError()));
        }
        longestWait = std::max(longestWait, waited);
        totalWait += waited;
        slowNext += waited >= 1000 ? 1 : 0;
    }

    quillon::SettingsStore store(file);
    int values = 0;
    int lost = 0;
    if (store.OpenKey(kKey, false)) {
        for (int round = 0; round < kills; ++round) {
            for (int i = 0; i < confirmed[static_cast<std::size_t>(round)]; ++i, ++values)
                lost += store.ReadInteger(QStringLiteral("K%1_%2").arg(round).arg(i)) == i ? 0 : 1;
            lost += store.ReadInteger(QStringLiteral("Next%1").arg(round)) == round ? 0 : 1;
            ++values;
        }
    } else {
        std::fprintf(stderr, "the store cannot be opened: %s\n", qPrintable(store.LastError()));
    }
    const QStringList left = QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files | QDir::Hidden);

    std::printf("kills                      %d\n", kills);
    std::printf("confirmed values           %d\n", values);
    std::printf("values lost                %d\n", lost);
    std::printf("damaged files set aside    %d\n",
                static_cast<int>(left.filter(QStringLiteral(".damaged-")).size()));
    std::printf("next writer: failed        %d\n", failedNext);
    std::printf("next writer: waits >= 1 s  %d\n", slowNext);
    std::printf("next writer: longest wait  %lld ms\n", static_cast<long long>(longestWait));
    std::printf("next writer: mean wait     %.1f ms\n", static_cast<double>(totalWait) / kills);
    std::printf("files in the folder        %s\n", qPrintable(left.join(QStringLiteral(", "))));
    return 0;
}
