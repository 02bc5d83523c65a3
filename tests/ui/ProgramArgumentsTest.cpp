// The program's arguments reach it whole: Qt takes none of its own options
// out of them and acts on none. Run through a probe that starts the
// application object exactly as the program does.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

namespace {

QStringList ProbeLines(const QStringList& arguments)
{
    QProcess probe;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    probe.setProcessEnvironment(environment);
    probe.start(QStringLiteral(QUILLON_ARGUMENTS_PROBE), arguments);
    if (!probe.waitForFinished(60'000)) {
        probe.kill();
        probe.waitForFinished();
        ADD_FAILURE() << "the probe did not finish";
        return {};
    }
    EXPECT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
    return QString::fromLocal8Bit(probe.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

TEST(ProgramArguments, QtOptionsStayThePrograms)
{
    const struct {
        QStringList arguments;
    } cases[] = {
        {{"offer.qlx", "-reverse"}},
        {{"-style", "QXF-050"}},
        {{"-session", "x", "-platform", "xcb"}},
        {{"QXF-050|100|M"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const QStringList lines = ProbeLines(c.arguments);
        QStringList expected;
        for (const QString& argument : c.arguments) expected << QStringLiteral("arg:") + argument;
        expected << QStringLiteral("layout:normal");
        ASSERT_EQ(lines.size(), expected.size() + 1) << lines.join('|').toStdString();
        EXPECT_EQ(lines.mid(0, expected.size()), expected);
        EXPECT_NE(lines.last(), QStringLiteral("style:QXF-050"));
    }
}

}  // namespace
