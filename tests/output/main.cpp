// Output tests run inside a QApplication (widgets, clipboard, printing).
#include <gtest/gtest.h>

#include <QApplication>

#include <clocale>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName("quillon-output-tests");
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
