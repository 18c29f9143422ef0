// The simulated system's ANSI code page, Windows-1252, as the registry's case folding and the
// text conversion both read it.
#pragma once

namespace tb::sim {

// One byte as its Unicode character: 0x80-0x9F through the code page's table (the unassigned
// ones map to themselves, as Windows' conversion does), every other byte to its own number.
constexpr char16_t ansiChar(unsigned char b) {
    constexpr char16_t k80to9F[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    return b >= 0x80 && b <= 0x9F ? k80to9F[b - 0x80] : static_cast<char16_t>(b);
}

}  // namespace tb::sim
