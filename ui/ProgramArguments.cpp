#include "ui/ProgramArguments.h"

namespace quillon {

ProgramArguments::ProgramArguments(int argc, char** argv) : qtArgc_(argc > 0 ? 1 : 0)
{
    for (int i = 1; i < argc; ++i) arguments_ << QString::fromLocal8Bit(argv[i]);
}

}  // namespace quillon
