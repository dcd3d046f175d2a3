#pragma once

#include <memory>
#include <string_view>

#include "ui/framework/CFont.h"
#include "ui/framework/CSurface.h"
#include "ui/framework/Geometry.h"

// Draws onto a surface, or onto a window while it paints (the framework hands
// a painter to CWindow::OnPaint).
class CPainter {
public:
    explicit CPainter(CSurface& target);
    ~CPainter();
    CPainter(const CPainter&) = delete;
    CPainter& operator=(const CPainter&) = delete;

    void FillRect(const CRect& area, Colour colour);
    // Replaces the pixels at (x, y) by `source`'s, alpha included.
    void CopySurface(int x, int y, const CSurface& source);
    // Source-over at (x, y) at the source's own size.
    void BlendSurface(int x, int y, const CSurface& source);
    // `source` stretched to `area`, nearest pixel, no smoothing.
    void StretchSurface(const CRect& area, const CSurface& source);
    // The part `from` of `source`, copied to (x, y).
    void CopySurfacePart(int x, int y, const CSurface& source, const CRect& from);

    // Later drawing stays inside `area` until the clip is cleared.
    void SetClip(const CRect& area);
    void ClearClip();

    void SetFont(const CFont& font);
    int TextWidth(std::u16string_view text) const;
    int LineHeight() const;
    // The text's cell has its top-left corner at (x, y); the background stays.
    void DrawText(int x, int y, std::u16string_view text, Colour colour);

    struct Impl;
    explicit CPainter(std::unique_ptr<Impl> impl);

private:
    std::unique_ptr<Impl> impl;
};
