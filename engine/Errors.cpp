#include "engine/Errors.h"

namespace quillon {

std::string ConversionErrorText(std::string_view text)
{
    std::string message = "'";
    message += text;
    message += "' is not a valid floating point value";
    return message;
}

void ThrowConversionError(std::string_view text)
{
    throw QuillonError(ConversionErrorText(text));
}

std::string ListIndexErrorText(long long index)
{
    return "List index out of bounds (" + std::to_string(index) + ")";
}

}  // namespace quillon
