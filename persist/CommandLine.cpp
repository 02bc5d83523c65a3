#include "persist/CommandLine.h"

namespace quillon {
namespace {

// Only the ASCII letters change case here: a Unicode upper-casing would turn
// other texts ("\uFB01le") into "FILE".
bool IsFileKeyword(const QString& argument)
{
    static constexpr char kKeyword[] = "FILE";
    if (argument.size() != qsizetype(sizeof kKeyword - 1))
        return false;
    for (qsizetype i = 0; i < argument.size(); ++i) {
        char16_t c = argument[i].unicode();
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
        if (c != char16_t(kKeyword[i]))
            return false;
    }
    return true;
}

}  // namespace

std::optional<QString> CommandLine::OpenFileArgument() const
{
    if (Arguments.size() < 2)
        return std::nullopt;
    return Arguments[1];
}

CommandLine ParseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    line.Arguments = arguments;
    if (arguments.isEmpty())
        return line;
    if (IsFileKeyword(arguments[0])) {
        if (arguments.size() == 2) {
            line.Form = CommandLineForm::QueryFile;
            line.QueryFilePath = arguments[1];
        } else {
            line.Form = CommandLineForm::NotEnoughParameters;
            line.Error = QString::fromLatin1(kNotEnoughParametersMessage);
        }
        return line;
    }
    line.Form = CommandLineForm::PartNumber;
    line.CommandLinePartNumber = arguments[0];
    line.CommandLineFilling = arguments.size() == 1;
    return line;
}

}  // namespace quillon
