#pragma once

#include <algorithm>
#include <cstdint>

// Plain geometry and colours the windows speak in. Colours are RGB with red in
// the low byte, as the settings file gives them.
using Colour = uint32_t;

constexpr Colour Rgb(int red, int green, int blue)
{
    return Colour(red & 0xFF) | Colour(green & 0xFF) << 8 | Colour(blue & 0xFF) << 16;
}
constexpr int RedOf(Colour colour) { return colour & 0xFF; }
constexpr int GreenOf(Colour colour) { return colour >> 8 & 0xFF; }
constexpr int BlueOf(Colour colour) { return colour >> 16 & 0xFF; }

struct CPoint {
    int x = 0;
    int y = 0;
    bool operator==(const CPoint&) const = default;
};

struct CSize {
    int width = 0;
    int height = 0;
    bool operator==(const CSize&) const = default;
};

struct CRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const CRect&) const = default;
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
    bool Contains(CPoint p) const { return p.x >= x && p.y >= y && p.x < x + width && p.y < y + height; }
    CPoint Centre() const { return {x + width / 2, y + height / 2}; }
};

// Dialog templates are laid out in dialog units over the base units 6 x 13:
// x pixels = round(x * 6 / 4), y pixels = round(y * 13 / 8), halves up. This
// is the one place the conversion is written.
// Template values are never negative.
constexpr int DluToPixelsX(int x) { return (x * 6 + 2) / 4; }
constexpr int DluToPixelsY(int y) { return (y * 13 + 4) / 8; }
inline CRect DluToPixels(const CRect& r)
{
    return {DluToPixelsX(r.x), DluToPixelsY(r.y), DluToPixelsX(r.width), DluToPixelsY(r.height)};
}
