#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "ui/framework/Geometry.h"

// An off-screen image of 32-bit pixels with alpha. Decoding never fails loudly:
// an unreadable, truncated or hostile file gives an empty surface.
class CSurface {
public:
    CSurface();
    CSurface(int width, int height, Colour fill);
    CSurface(const CSurface& other);
    CSurface& operator=(const CSurface& other);
    CSurface(CSurface&&) noexcept;
    CSurface& operator=(CSurface&&) noexcept;
    ~CSurface();

    bool IsEmpty() const;
    int Width() const;
    int Height() const;
    CSize Size() const { return {Width(), Height()}; }

    // Decodes an image file (PNG, BMP, ICO, one GIF image...) with straight alpha;
    // images without alpha are opaque. False, and empty, when it cannot.
    bool LoadFile(const std::string& path);
    bool LoadData(const uint8_t* data, std::size_t size);

    // Multiplies blue, green and red by alpha / 255, rounded down, and marks
    // the surface premultiplied, so it is drawn with per-pixel alpha.
    void PremultiplyAlpha();

    // Pixels of exactly `colour` become fully transparent.
    void MakeTransparent(Colour colour);

    Colour PixelColour(int x, int y) const;
    int PixelAlpha(int x, int y) const;
    // Pixels of `colour` (exact) in a rectangle.
    int CountColour(const CRect& area, Colour colour) const;

    bool SavePng(const std::string& path) const;

    struct Impl;
    Impl& Data() const { return *impl; }

private:
    std::unique_ptr<Impl> impl;
};
