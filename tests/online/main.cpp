#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv)
{
    // Test discovery runs the binary outside CTest's environment too.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Keep away from the user's own folders and configuration.
    QStandardPaths::setTestModeEnabled(true);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillon-online-tests"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
