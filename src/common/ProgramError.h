// The one error type the program raises: it carries the error number that log lines and
// message boxes report ("ERR: ... mislukt, foutcode N").
#pragma once

#include <stdexcept>

namespace tb {

namespace errnum {
// A call that cannot be carried out any more: the other side of it went away half-way (Winamp
// quit during a playlist refresh, the bar unloaded during one).
constexpr int InvalidCall = 5;
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
// An index outside a list or a text (std::out_of_range, std::length_error).
constexpr int SubscriptOutOfRange = 9;
constexpr int TypeMismatch = 13;
// Any other failure that is not a numbered program error.
constexpr int InternalError = 51;
constexpr int InvalidPropertyValue = 380;
}  // namespace errnum

class ProgramError : public std::runtime_error {
public:
    explicit ProgramError(int number);
    int number() const noexcept { return number_; }

private:
    int number_;
};

// The number a log line reports for an error: a ProgramError's own, the numbers above for the
// standard library's errors.
int ErrorNumber(const std::exception& e) noexcept;

}  // namespace tb
