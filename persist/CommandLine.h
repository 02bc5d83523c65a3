#pragma once
// The command line: another program, or a desktop shortcut, starts Quillon
// on a saved query file ("FILE" and its path) or on one part number, which
// may carry a length and a unit ("PN|100|M"). The window applies the result:
// it sets the query page to CommandLineDefaults() (engine/QueryPageRules.h)
// with its click rules, opens the query file or keeps the part number, and
// runs the search.

#include <optional>

#include <QString>
#include <QStringList>

namespace quillon {

inline constexpr char kNotEnoughParametersMessage[] = "Not enough parameters to run this program";

enum class CommandLineForm {
    None,                 // no arguments: the interactive start
    QueryFile,            // "FILE" (any letter case) and exactly one path
    NotEnoughParameters,  // "FILE" with no path or more than one: error box, then the program ends
    PartNumber,           // anything else in argument 1
};

struct CommandLine {
    CommandLineForm Form = CommandLineForm::None;
    QStringList Arguments;  // as given, without the program name

    // QueryFile: argument 2, unchanged.
    QString QueryFilePath;
    // PartNumber: argument 1, unchanged, "|" pieces included; every search of
    // the run selects by it.
    QString CommandLinePartNumber;
    // PartNumber with exactly one argument: every filling of the results uses
    // FillCommandLineRows with argument 1 (which reads the length and unit).
    bool CommandLineFilling = false;
    // NotEnoughParameters: the error box's text.
    QString Error;

    // With any argument the splash and the stored query are skipped and the
    // search runs at the end of start-up.
    bool HasArguments() const { return !Arguments.isEmpty(); }
    // What "&Open File" reads while arguments are present, instead of showing
    // its dialog: argument 2, whatever the form; nothing when there is none
    // (the command then does nothing).
    std::optional<QString> OpenFileArgument() const;
};

// Arguments are those after the program name (QCoreApplication::arguments()
// without its first entry), split as the platform splits them.
CommandLine ParseCommandLine(const QStringList& arguments);

}  // namespace quillon
