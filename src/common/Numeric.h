// Rounding and narrowing as the program's numbers need them, in one place.
#pragma once

#include <cstdint>

namespace tb {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// Throws ProgramError(6) when the result does not fit in 32 bits.
std::int32_t roundHalfEven32(double value);
// The same into 16 bits; throws ProgramError(6) on overflow.
std::int16_t roundHalfEven16(double value);
// Integer division a / b rounded half to even (b > 0); exact, no floating point.
std::int64_t divRoundHalfEven(std::int64_t a, std::int64_t b);
// Narrowing that fails like a 16-bit conversion: ProgramError(6) when out of range.
std::int16_t toInt16Checked(std::int64_t value);
// A length in twips as whole pixels (halves to even); ProgramError(6) beyond 32 bits.
std::int32_t twipsToPixels(double twips, int twipsPerPixel);
// Clamps into the 32-bit range.
std::int32_t clampToInt32(std::int64_t value);

}  // namespace tb
