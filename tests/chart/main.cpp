#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv)
{
    // Test discovery runs the binary outside CTest's environment too.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);  // every Qt Charts chart needs one
    QApplication::setApplicationName(QStringLiteral("quillon-chart-tests"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
