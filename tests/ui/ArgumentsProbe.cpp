// Starts the application object as the program does and prints what the
// program then holds: one argument a line, then the layout direction and the
// style, so that a test can see whether Qt took or acted on an argument.

#include <QApplication>
#include <QStyle>

#include <cstdio>

#include "ui/ProgramArguments.h"

int main(int argc, char** argv)
{
    quillon::ProgramArguments command(argc, argv);
    QApplication app(command.QtArgc(), argv);
    QByteArray out;
    for (const QString& argument : command.Arguments()) out += "arg:" + argument.toLocal8Bit() + "\n";
    out += QApplication::layoutDirection() == Qt::RightToLeft ? "layout:reversed\n" : "layout:normal\n";
    out += "style:" + QApplication::style()->name().toLocal8Bit() + "\n";
    std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
    return 0;
}
