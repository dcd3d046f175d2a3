#include "ui/controls/CTButtonPicture.h"

#include "ui/framework/CDesktop.h"
#include "ui/framework/CFont.h"

CTButtonPicture::CTButtonPicture()
{
    ownerPaint = true;
}

void CTButtonPicture::SetBitmaps(const std::string& normal, const std::string& hover,
                                 const std::string& pressedBitmapPath, const std::string& disabled)
{
    normalBitmap.LoadFile(normal);
    hoverBitmap.LoadFile(hover);
    pressedBitmap.LoadFile(pressedBitmapPath);
    disabledBitmap.LoadFile(disabled);
    drawn = false;
    Invalidate();
}

void CTButtonPicture::Draw()
{
    Render();
    drawn = true;
    Invalidate();
}

void CTButtonPicture::Render()
{
    CSize client = ClientSize();
    if (client.width <= 0 || client.height <= 0)
        return;
    if (underlay.IsEmpty())
        underlay = CaptureUnderlay();
    canvas = CSurface(client.width, client.height, 0);
    CPainter onCanvas(canvas);
    onCanvas.CopySurface(0, 0, underlay);
    const CSurface* bitmap = &normalBitmap;
    Colour colour = normalColor;
    if (selected) {
        bitmap = &pressedBitmap;
        colour = hotColor;
    } else if (drawState == 1) {
        bitmap = &hoverBitmap;
        colour = hotColor;
    } else if (drawState == 2) {
        bitmap = &pressedBitmap;
        colour = hotColor;
    } else if (drawState == 3) {
        bitmap = &disabledBitmap;
        colour = disabledColor;
    }
    if (!bitmap->IsEmpty()) {
        if (bitmap->Width() > client.width || bitmap->Height() > client.height)
            onCanvas.StretchSurface({0, 0, client.width, client.height}, *bitmap);
        else
            onCanvas.CopySurface(0, 0, *bitmap);
    }
    std::u16string label = Text();
    if (!label.empty()) {
        onCanvas.SetFont(CFont(fontHeight, selected ? 700 : fontWeight, fontFace));
        const int W = client.width;
        const int H = client.height;
        const int tw = onCanvas.TextWidth(label);
        const int th = onCanvas.LineHeight();
        int x = 0;
        int y = 0;
        switch (textAlign) {
        case 0x100: x = textMargin + 2; y = (H - th) / 2; break;
        case 0x200: x = W - textMargin - tw - 2; y = (H - th) / 2; break;
        case 0x300: x = (W - tw) / 2; y = (H - th) / 2; break;
        case 0x700: x = (W - tw) / 2; y = 0; break;
        case 0x800: x = 0; y = H - th; break;
        case 0xB00: x = (W - tw) / 2; y = H - th; break;
        default: break;
        }
        textPos = {std::max(x, 0), std::max(y, 0)};
        onCanvas.DrawText(textPos.x, textPos.y, label, colour);
        if (firstDraw) {
            firstDraw = false;
            PostInvalidate();
        }
    }
}

void CTButtonPicture::OnPaint(CPainter& painter)
{
    SetHandCursor(true);
    if (!drawn) {
        // The window system asks for the button's look: from its state.
        drawState = 0;
        if (HasFocus())
            drawState = IsPushed() ? 2 : (mouseInside ? 1 : 0);
        if (!IsEnabled()) {
            drawState = 3;
            enabled = false;
        }
        Render();
    }
    drawn = false;
    painter.CopySurface(0, 0, canvas);
}

void CTButtonPicture::OnMouseMove(CPoint)
{
    if (mouseInside || !enabled)
        return;
    mouseInside = true;
    drawState = 1;
    Draw();
    SetTimer(hoverTimer, std::chrono::milliseconds(10));
}

void CTButtonPicture::OnTimer(int timerId)
{
    if (timerId != hoverTimer || !mouseInside || !enabled)
        return;
    CPoint cursorAt = CDesktop::CursorPos();
    if (ScreenRect().Contains(cursorAt))
        return;
    KillTimer(hoverTimer);
    mouseInside = false;
    drawState = 0;
    Draw();
}

void CTButtonPicture::OnEnable(bool enable)
{
    enabled = enable;
    drawn = false;
}
