// Plain value types shared by the ports and the program core.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tb {

// Opaque window handle; 0 means "no window". Windows keeps user handles within 32 bits.
using Hwnd = std::uintptr_t;
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;
using ProcessId = std::uint32_t;
// Handle of an opened process (OpenProcess); 0 when the open failed.
using ProcessHandle = std::uintptr_t;

// Colour as Windows stores it: 0x00BBGGRR.
using Color = std::uint32_t;

constexpr Color rgb(int r, int g, int b) {
    return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int colorR(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int colorG(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int colorB(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Half-open like RECT: right and bottom are outside.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    static Rect fromXYWH(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
        return {x, y, x + w, y + h};
    }
    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    Rect offset(std::int32_t dx, std::int32_t dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    Rect intersect(const Rect& o) const;
    // The smallest rectangle holding both; an empty one adds nothing.
    Rect unite(const Rect& o) const {
        if (o.empty()) return *this;
        if (empty()) return o;
        return {left < o.left ? left : o.left, top < o.top ? top : o.top,
                right > o.right ? right : o.right, bottom > o.bottom ? bottom : o.bottom};
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

inline Rect Rect::intersect(const Rect& o) const {
    Rect r{left > o.left ? left : o.left, top > o.top ? top : o.top,
           right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom};
    if (r.empty()) return {};
    return r;
}

// A picture held by the program (artwork). Pixels are row-major, top row first, each a Color.
// Pixels equal to `transparentColor` are not drawn when `hasTransparency` is set.
struct Image {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<Color> pixels;
    bool hasTransparency = false;
    Color transparentColor = 0xFF00FF;

    bool empty() const { return width <= 0 || height <= 0; }
    Color at(std::int32_t x, std::int32_t y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Local wall-clock time, as the log file name and its start and end lines need it.
struct LocalTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct FontSpec {
    std::string face = "Tahoma";
    int heightPx = 13;  // character height in pixels (a negative lfHeight)
    bool bold = false;
};

}  // namespace tb
