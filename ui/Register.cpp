// quillon-register: does what the maker's installer does for one user. It
// records the shared data folder (when none is recorded yet) and registers
// the program, in the settings store the program itself uses.
//
//   quillon-register DATA-FOLDER
//
// DATA-FOLDER holds M_lom.dat. It is always named: a folder built into the
// program would tie every build to the tree it was built in.

#include <cstdio>

#include <QCoreApplication>

#include "ui/Registration.h"
#include "platform/AppPaths.h"
#include "platform/SettingsStore.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() != 1 || arguments.front().startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: quillon-register DATA-FOLDER\n");
        return 2;
    }
    const QString dataFolder = arguments.front();

    quillon::AppPaths paths;
    quillon::SettingsStore store(paths.SettingsFile(), [](const quillon::SettingsProblem& problem) {
        std::fprintf(stderr, "%s\n", qPrintable(problem.Text()));
    });
    const quillon::RegistrationResult result = quillon::RegisterProgram(store, dataFolder, paths.ProgramFolder());
    for (const QString& line : result.done) std::printf("%s\n", qPrintable(line));
    if (!result.ok) {
        std::fprintf(stderr, "quillon-register: %s\n", qPrintable(result.error));
        return 1;
    }
    return 0;
}
