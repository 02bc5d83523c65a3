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

    if (argc >= 2 && qstrcmp(argv[1], kStoreWriterFlag) == 0) {
        QStringList arguments;
        for (int i = 2; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        return RunStoreWriter(arguments);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillon-platform-tests"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
