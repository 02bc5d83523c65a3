#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

#include "tests/platform/StoreWriter.h"

int main(int argc, char** argv)
{
    // Test discovery runs the binary outside CTest's environment too.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Keep away from the user's own configuration.
    QStandardPaths::setTestModeEnabled(true);

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<int> exitCode = RunStoreChild(arguments))
        return *exitCode;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillon-platform-tests"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
