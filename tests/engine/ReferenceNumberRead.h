#pragma once
// Reading numbers as the program first did it: the syntax check, then a
// short route for small numbers and the library's conversion for the rest.
// The one-pass reader of engine/NumberText.h must give the same answer, to
// the last bit, for every text; the tests hold it to this.

#include <string_view>

namespace quillon::test {

bool ReferenceTryReadNumber(std::string_view text, long double& value);
bool ReferenceTryReadNumber(std::string_view text, double& value);

}  // namespace quillon::test
