// Output tests run inside a QApplication (widgets, clipboard, printing).
#include <gtest/gtest.h>

#include <QApplication>

#include <clocale>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Headless unless told otherwise, also when CTest lists the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("quillon-output-tests");
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
