// The program entry: fixed number and date formats, the application title,
// the splash (not when the program was started with parameters), the user's
// data folder when the launcher asks for it, then the main window until it
// closes.

#include <QApplication>
#include <QIcon>

#include "engine/LargeMemory.h"
#include "ui/DataPreload.h"
#include "ui/ProcessFormats.h"
#include "ui/ProgramArguments.h"
#include "ui/Unit1.h"
#include "ui/UserDataSetup.h"
#include "platform/ActiveWindowKeeper.h"
#include "platform/DesktopSeams.h"
#include "ui/splash.h"

int main(int argc, char** argv)
{
    // The data set is the program's one large thing: its heap grows in 2 MB
    // pages, which makes loading a large catalogue several times faster.
    quillon::PrepareHeapForLargeData();
    // Every argument is the program's; Qt sees none of them.
    quillon::ProgramArguments command(argc, argv);
    QApplication app(command.QtArgc(), argv);
    quillon::FixProcessFormats();
    // The title message boxes carry when they name no caption of their own.
    QApplication::setApplicationName(QStringLiteral("Tarvex Quillon"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    // A box or window closed gives the keyboard back to the window below.
    const quillon::TActiveWindowKeeper keeper;

    const QStringList& arguments = command.Arguments();
    quillon::DesktopSeams desktop;
    quillon::Seams& seams = desktop.Get();
    if (arguments.isEmpty()) {
        // The data set loads while the splash is up; the window takes it.
        quillon::TDataPreload::Start(seams);
        quillon::TfrmSplash splash;
        quillon::RunSplash(splash);
    }

    // A damaged settings file is moved aside by the store; say so once.
    quillon::ReportSettingsProblems(seams);
    // Started by the launcher: the user's data folder and the registration
    // first, through the same store and boxes as the window.
    quillon::SetUpForLauncher(seams);
    quillon::TfrmMain frmMain(seams, arguments);
    // A command line that cannot run has said so and ends the program here.
    if (frmMain.Terminated()) return 1;
    frmMain.show();
    return QApplication::exec();
}
