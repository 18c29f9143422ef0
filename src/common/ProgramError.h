// The one error type the program raises: it carries the error number that log lines and
// message boxes report ("ERR: ... mislukt, foutcode N").
#pragma once

#include <stdexcept>

namespace tb {

namespace errnum {
constexpr int Overflow = 6;
constexpr int TypeMismatch = 13;
constexpr int InvalidPropertyValue = 380;
}  // namespace errnum

class ProgramError : public std::runtime_error {
public:
    explicit ProgramError(int number);
    int number() const noexcept { return number_; }

private:
    int number_;
};

}  // namespace tb
