#include "common/VbError.h"

#include <string>

namespace tb {

VbError::VbError(int number) : std::runtime_error("error " + std::to_string(number)), number_(number) {}

}  // namespace tb
