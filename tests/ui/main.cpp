#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

#include "ui/ProcessFormats.h"

int main(int argc, char** argv)
{
    // Test discovery runs the binary outside CTest's environment too.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);

    QApplication app(argc, argv);
    quillon::FixProcessFormats();  // as the program does, right after QApplication
    QApplication::setApplicationName(QStringLiteral("quillon-ui-tests"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
