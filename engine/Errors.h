#pragma once
// The one error type of the engine: it carries the exact text that the window
// shows in its standard error box.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quillon {

class QuillonError : public std::runtime_error {
public:
    explicit QuillonError(const std::string& message) : std::runtime_error(message), message_(message) {}
    // The whole text, also when a damaged file put a NUL byte into it.
    const std::string& message() const { return message_; }

private:
    std::string message_;
};

// An error met while loading a file; the message stays the exact user text and
// the 1-based line number says where (0 when no single line is to blame).
class LoadError : public QuillonError {
public:
    LoadError(const std::string& message, std::size_t lineNumber)
        : QuillonError(message), lineNumber_(lineNumber) {}
    std::size_t lineNumber() const { return lineNumber_; }

private:
    std::size_t lineNumber_;
};

inline constexpr std::string_view kDivisionByZero = "Floating point division by zero";
inline constexpr std::string_view kInvalidOperation = "Invalid floating point operation";
inline constexpr std::string_view kOverflow = "Floating point overflow";

// "'%s' is not a valid floating point value"
std::string ConversionErrorText(std::string_view text);
[[noreturn]] void ThrowConversionError(std::string_view text);

// "List index out of bounds (%d)"
std::string ListIndexErrorText(long long index);

}  // namespace quillon
