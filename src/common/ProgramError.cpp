#include "common/ProgramError.h"

#include <new>
#include <string>

namespace tb {

ProgramError::ProgramError(int number)
    : std::runtime_error("error " + std::to_string(number)), number_(number) {}

int ErrorNumber(const std::exception& e) noexcept {
    if (const auto* p = dynamic_cast<const ProgramError*>(&e)) return p->number();
    if (dynamic_cast<const std::bad_alloc*>(&e)) return errnum::OutOfMemory;
    if (dynamic_cast<const std::out_of_range*>(&e) || dynamic_cast<const std::length_error*>(&e))
        return errnum::SubscriptOutOfRange;
    return errnum::InternalError;
}

}  // namespace tb
