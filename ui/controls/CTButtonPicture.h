#pragma once

#include <string>

#include "ui/framework/CSurface.h"
#include "ui/framework/CWindow.h"

// A push button drawn from four bitmaps (normal, mouse over, pressed,
// disabled), with a "selected" look (pressed bitmap, bold text) its owner
// sets, and a text placed by a code with a margin:
//
//   0x100 left + margin   0x200 right - margin   0x300 centred
//   0x700 top centre      0x800 bottom left      0xB00 bottom centre
//
// Hover is tracked by polling the pointer every 10 ms while it is inside.
class CTButtonPicture : public CWindow {
public:
    static constexpr int hoverTimer = 1;

    CTButtonPicture();

    void SetBitmaps(const std::string& normal, const std::string& hover, const std::string& pressedBitmapPath,
                    const std::string& disabled);
    void Draw();

    CSurface normalBitmap;
    CSurface hoverBitmap;
    CSurface pressedBitmap;
    CSurface disabledBitmap;
    bool selected = false;
    int drawState = 0;
    bool mouseInside = false;
    bool enabled = true;
    Colour normalColor = 0;
    Colour hotColor = 0xFFFFFF;
    Colour disabledColor = 0x999999;
    std::u16string fontFace = u"Arial";
    int fontWeight = 0;
    int fontHeight = 16;
    int textAlign = 0x300;
    int textMargin = 0;
    CPoint textPos;
    bool firstDraw = true;
    CSurface underlay;

    void OnPaint(CPainter& painter) override;
    void OnMouseMove(CPoint point) override;
    void OnTimer(int timerId) override;
    void OnEnable(bool enable) override;

private:
    void Render();
    CSurface canvas;
    // The canvas already holds what Draw made; the next paint only shows it.
    bool drawn = false;
};
