#pragma once

#include <string>
#include <vector>

#include "ui/framework/CFont.h"
#include "ui/framework/CSurface.h"
#include "ui/framework/CWindow.h"

// The PNG face of the skinned statics and buttons: over a copy of what lies
// beneath it in its parent (captured once), one of three images (normal,
// mouse over, pressed) with per-pixel alpha, and a text in its own font and
// colour, broken into lines and placed by an alignment code:
//
//   0, 2 left/top   1 right/top   3 left/bottom   4 centre/middle
//   5 left/middle   6 right/middle   7 centre/top   8 centre/bottom
//
// Later lines follow the first line's column (left, right or centre).
class CTPngFace : public CWindow {
public:
    enum CursorKind { CursorNone, CursorHand };

    CTPngFace();

    void SetImages(const std::string& normal, const std::string& hover, const std::string& pressedImagePath);
    void SetText(const std::u16string& newText);
    void SetFont(int height, const std::u16string& face, int weight);
    void SetLinkTarget(const std::string& target) { linkTarget = target; }

    // Opens a document or address: the desktop's default handler, else the
    // web-page handler's command line with the target in place of "%1".
    static void OpenLink(const std::string& target);
    // The web-page handler's program and arguments for `target`: the command
    // line cut at its first "\"%1\"" (else "%1"), split like a command line,
    // then the target as one more argument; empty without a command line.
    static std::vector<std::string> HandlerArguments(const std::string& commandLine, const std::string& target);

    // A text broken into lines as the face draws it in `width` pixels.
    static std::vector<std::u16string> BreakLines(const std::u16string& text, int width, const CFont& font);

    std::string normalImage;
    std::string hoverImage;
    std::string pressedImage;
    int lineSpacing = 0;
    int fontHeight = 18;
    int fontWeight = 0;
    std::u16string fontFace = u"Microsoft YaHei";
    Colour normalColor = 0;
    Colour hoverColor = 0;
    Colour pressedColor = 0;
    std::string linkTarget;
    std::u16string text;
    int alignment = 4;
    CursorKind cursor = CursorNone;
    bool hovering = false;
    bool pressed = false;
    bool trackArmed = true;
    CSurface underlay;
    CSurface image;
    CFont font;

    void OnPaint(CPainter& painter) override;
    void OnMouseMove(CPoint point) override;
    void OnMouseLeave() override;
    void OnLButtonDown(CPoint point) override;
    void OnLButtonUp(CPoint point) override;

private:
    void ApplyCursor();
    void DrawText(CPainter& painter, Colour colour);
};
