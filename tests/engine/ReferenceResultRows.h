#pragma once
// The two fillings of the results table as first written: every cell worked
// out on its own, with the reference number formats. The program's fillings
// must give the same table, cell for cell, and stop at the same cell.

#include "engine/ResultRows.h"

namespace quillon::test {

std::optional<std::string> ReferenceFillInteractiveRows(ResultTable& table, const LineList& lines,
                                                        const InteractiveFillInputs& inputs);
std::optional<std::string> ReferenceFillCommandLineRows(ResultTable& table, const LineList& lines,
                                                        std::string_view argument);

}  // namespace quillon::test
