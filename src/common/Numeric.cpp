#include "common/Numeric.h"

#include <cmath>
#include <limits>

#include "common/ProgramError.h"

namespace tb {

namespace {
double roundHalfEvenDouble(double value) {
    if (!std::isfinite(value)) throw ProgramError(errnum::Overflow);
    double fl = std::floor(value);
    double diff = value - fl;
    if (diff > 0.5) return fl + 1.0;
    if (diff < 0.5) return fl;
    return std::fmod(fl, 2.0) == 0.0 ? fl : fl + 1.0;
}
}  // namespace

std::int32_t roundHalfEven32(double value) {
    double r = roundHalfEvenDouble(value);
    if (r < std::numeric_limits<std::int32_t>::min() ||
        r > std::numeric_limits<std::int32_t>::max())
        throw ProgramError(errnum::Overflow);
    return static_cast<std::int32_t>(r);
}

std::int16_t roundHalfEven16(double value) {
    double r = roundHalfEvenDouble(value);
    if (r < std::numeric_limits<std::int16_t>::min() ||
        r > std::numeric_limits<std::int16_t>::max())
        throw ProgramError(errnum::Overflow);
    return static_cast<std::int16_t>(r);
}

std::int64_t divRoundHalfEven(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    std::int64_t r = a % b;
    if (r < 0) {  // floor division
        q -= 1;
        r += b;
    }
    std::int64_t twice = 2 * r;
    if (twice > b || (twice == b && (q % 2 != 0))) q += 1;
    return q;
}

std::int16_t toInt16Checked(std::int64_t value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        throw ProgramError(errnum::Overflow);
    return static_cast<std::int16_t>(value);
}

std::int32_t twipsToPixelsAtDpi(double twips, int dpi) {
    // Exact for whole twips: at 96 dpi it rounds what twips / 15 is.
    return roundHalfEven32(twips * dpi / 1440.0);
}

double pixelsToTwipsAtDpi(double pixels, int dpi) { return pixels * 1440.0 / dpi; }

std::int32_t scaleToDpi(std::int32_t pixels, int dpi) {
    return clampToInt32(divRoundHalfEven(std::int64_t{pixels} * dpi, kDefaultDpi));
}

std::int32_t clampToInt32(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

}  // namespace tb
