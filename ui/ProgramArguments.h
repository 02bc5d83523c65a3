#pragma once
// The program's command line is the process's own: a part number, a query
// file and whatever follows them, as the user typed them. Qt would take its
// own options (-style, -reverse, -session, -platform, ...) out of the list
// and act on them, so "FILE -reverse" would lose a word and "-style PN" its
// part number. Qt is given the program's name alone.

#include <QStringList>

namespace quillon {

class ProgramArguments {
public:
    // Reads every argument after the program's name; call before the
    // application object is made.
    ProgramArguments(int argc, char** argv);

    const QStringList& Arguments() const { return arguments_; }
    // The argument count to hand the application object with the same argv:
    // the program's name only. Lives as long as this object.
    int& QtArgc() { return qtArgc_; }

private:
    QStringList arguments_;
    int qtArgc_ = 0;
};

}  // namespace quillon
