#include "common/ProgramError.h"

#include <string>

namespace tb {

ProgramError::ProgramError(int number)
    : std::runtime_error("error " + std::to_string(number)), number_(number) {}

}  // namespace tb
