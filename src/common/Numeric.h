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

// Display densities in dots per inch. A twip is 1/1440 inch, a pixel 1/dpi inch: 15 twips at
// 96 dpi (100 %), 12 at 120, 10 at 144, 7.5 at 192.
constexpr int kDefaultDpi = 96;
// A length in twips as whole pixels at `dpi` (> 0), halves to even; ProgramError(6) beyond
// 32 bits.
std::int32_t twipsToPixelsAtDpi(double twips, int dpi);
// A length in pixels at `dpi` (> 0) in twips, unrounded.
double pixelsToTwipsAtDpi(double pixels, int dpi);
// A length in pixels at 96 dpi as whole pixels at `dpi`, halves to even (as twips would give).
std::int32_t scaleToDpi(std::int32_t pixels, int dpi);
// Clamps into the 32-bit range.
std::int32_t clampToInt32(std::int64_t value);

}  // namespace tb
