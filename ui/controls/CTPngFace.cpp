#include "ui/controls/CTPngFace.h"

#include "platform/CDesktopRegistry.h"
#include "platform/RegistryHive.h"
#include "ui/framework/CDesktop.h"

CTPngFace::CTPngFace() : font(fontHeight, fontWeight, fontFace)
{
    ownerPaint = true;
}

void CTPngFace::SetImages(const std::string& normal, const std::string& hover, const std::string& pressedImagePath)
{
    normalImage = normal;
    hoverImage = hover.empty() ? normal : hover;
    pressedImage = pressedImagePath.empty() ? hoverImage : pressedImagePath;
    Invalidate();
}

void CTPngFace::SetText(const std::u16string& newText)
{
    text = newText;
    CWindow::SetText(newText);
    Invalidate();
}

void CTPngFace::SetFont(int height, const std::u16string& face, int weight)
{
    fontHeight = height;
    fontFace = face;
    fontWeight = weight;
    font = CFont(fontHeight, fontWeight, fontFace);
    Invalidate();
}

void CTPngFace::ApplyCursor()
{
    bool hand = cursor == CursorHand;
    if (hand != ShowsHandCursor())
        SetHandCursor(hand);
}

std::vector<std::u16string> CTPngFace::BreakLines(const std::u16string& source, int width, const CFont& lineFont)
{
    CSurface scratch(1, 1, 0);
    CPainter measure(scratch);
    measure.SetFont(lineFont);
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    while (start < source.size()) {
        std::size_t end = start;
        while (end < source.size() && source[end] != u'\n') {
            // A line ends before the character that would overflow it; a
            // control narrower than one character still takes one per line.
            if (end > start && measure.TextWidth(std::u16string_view(source).substr(start, end + 1 - start)) > width)
                break;
            ++end;
        }
        std::u16string line = source.substr(start, end - start);
        std::erase(line, u'\r');
        lines.push_back(line);
        start = end < source.size() && source[end] == u'\n' ? end + 1 : end;
    }
    return lines;
}

void CTPngFace::DrawText(CPainter& painter, Colour colour)
{
    CSize client = ClientSize();
    const int W = client.width;
    const int H = client.height;
    painter.SetFont(font);
    std::vector<std::u16string> lines = BreakLines(text, W, font);
    if (lines.empty())
        return;
    const int h = painter.LineHeight();
    const int n = int(lines.size());
    enum Column { Left, Right, Centre };
    enum Row { Top, Middle, Bottom };
    Column column = Left;
    Row row = Top;
    switch (alignment) {
    case 1: column = Right; break;
    case 3: row = Bottom; break;
    case 4: column = Centre; row = Middle; break;
    case 5: row = Middle; break;
    case 6: column = Right; row = Middle; break;
    case 7: column = Centre; break;
    case 8: column = Centre; row = Bottom; break;
    default: break;
    }
    auto across = [&](int w) {
        if (w > W || column == Left)
            return 0;
        return column == Right ? W - w : (W - w) / 2;
    };
    int y = 0;
    if (row != Top && n * h <= H)
        y = row == Middle ? (H - n * h) / 2 : H - n * h;
    y = std::max(y, 0);
    for (const std::u16string& line : lines) {
        int x = std::max(across(painter.TextWidth(line)), 0);
        painter.DrawText(x, y, line, colour);
        y += lineSpacing + h;
    }
}

void CTPngFace::OnPaint(CPainter& painter)
{
    ApplyCursor();
    CSize client = ClientSize();
    if (client.width <= 0 || client.height <= 0)
        return;
    if (underlay.IsEmpty())
        underlay = CaptureUnderlay();
    CSurface canvas(client.width, client.height, 0);
    {
        CPainter onCanvas(canvas);
        onCanvas.CopySurface(0, 0, underlay);
        const std::string* path = &normalImage;
        Colour colour = normalColor;
        if (hovering && pressed) {
            path = &pressedImage;
            colour = pressedColor;
        } else if (hovering) {
            path = &hoverImage;
            colour = hoverColor;
        }
        if (!path->empty()) {
            image = CSurface();
            if (image.LoadFile(*path)) {
                image.PremultiplyAlpha();
                onCanvas.BlendSurface(0, 0, image);
            }
        }
        if (text.empty())
            text = CWindow::Text();
        if (!text.empty())
            DrawText(onCanvas, colour);
    }
    painter.CopySurface(0, 0, canvas);
}

void CTPngFace::OnMouseMove(CPoint)
{
    ApplyCursor();
    if (!trackArmed)
        return;
    trackArmed = false;
    hovering = true;
    Invalidate();
}

void CTPngFace::OnMouseLeave()
{
    trackArmed = true;
    hovering = false;
    Invalidate();
}

void CTPngFace::OnLButtonDown(CPoint)
{
    pressed = true;
    Invalidate();
    if (!linkTarget.empty())
        OpenLink(linkTarget);
}

void CTPngFace::OnLButtonUp(CPoint)
{
    pressed = false;
    Invalidate();
}

std::vector<std::string> CTPngFace::HandlerArguments(const std::string& commandLine, const std::string& target)
{
    std::string line = commandLine;
    std::size_t cut = line.find("\"%1\"");
    if (cut == std::string::npos)
        cut = line.find("%1");
    if (cut != std::string::npos)
        line.erase(cut);
    // Split like a command line: blanks separate, double quotes group.
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false;
    bool any = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (any)
                arguments.push_back(current);
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any)
        arguments.push_back(current);
    if (arguments.empty())
        return {};
    arguments.push_back(target);
    return arguments;
}

void CTPngFace::OpenLink(const std::string& target)
{
    if (CDesktop::OpenDocument(target))
        return;
    CDesktopRegistry classes;
    std::string className;
    std::string commandLine;
    if (!classes.QueryString(HiveClassesRoot, ".htm", "", className) || className.size() > 260 ||
        !classes.QueryString(HiveClassesRoot, className + "\\shell\\open\\command", "", commandLine))
        return;
    CDesktop::StartProgram(HandlerArguments(commandLine, target));
}
