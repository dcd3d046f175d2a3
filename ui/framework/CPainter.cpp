#include "ui/framework/CPainter.h"

#include <QFontMetrics>

#include "ui/framework/QtBridge.h"

CPainter::CPainter(CSurface& target) : impl(std::make_unique<Impl>())
{
    if (target.IsEmpty())
        return;
    QImage& image = target.Data().image;
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    impl->painter = new QPainter(&image);
    impl->owned = true;
}

CPainter::CPainter(std::unique_ptr<Impl> impl) : impl(std::move(impl)) {}

CPainter::~CPainter()
{
    if (impl->owned)
        delete impl->painter;
}

void CPainter::FillRect(const CRect& area, Colour colour)
{
    if (impl->painter)
        impl->painter->fillRect(ToQRect(area), ToQColor(colour));
}

void CPainter::CopySurface(int x, int y, const CSurface& source)
{
    if (!impl->painter || source.IsEmpty())
        return;
    auto mode = impl->painter->compositionMode();
    impl->painter->setCompositionMode(QPainter::CompositionMode_Source);
    impl->painter->drawImage(x, y, source.Data().image);
    impl->painter->setCompositionMode(mode);
}

void CPainter::BlendSurface(int x, int y, const CSurface& source)
{
    if (impl->painter && !source.IsEmpty())
        impl->painter->drawImage(x, y, source.Data().image);
}

void CPainter::StretchSurface(const CRect& area, const CSurface& source)
{
    if (!impl->painter || source.IsEmpty())
        return;
    impl->painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    impl->painter->drawImage(ToQRect(area), source.Data().image);
}

void CPainter::CopySurfacePart(int x, int y, const CSurface& source, const CRect& from)
{
    if (!impl->painter || source.IsEmpty())
        return;
    auto mode = impl->painter->compositionMode();
    impl->painter->setCompositionMode(QPainter::CompositionMode_Source);
    impl->painter->drawImage(QPoint(x, y), source.Data().image, ToQRect(from));
    impl->painter->setCompositionMode(mode);
}

void CPainter::SetClip(const CRect& area)
{
    if (impl->painter)
        impl->painter->setClipRect(ToQRect(area));
}

void CPainter::ClearClip()
{
    if (impl->painter)
        impl->painter->setClipping(false);
}

void CPainter::SetFont(const CFont& font)
{
    impl->font = font.Data().font;
    if (impl->painter)
        impl->painter->setFont(impl->font);
}

int CPainter::TextWidth(std::u16string_view text) const
{
    return QFontMetrics(impl->font).horizontalAdvance(ToQString(text));
}

int CPainter::LineHeight() const
{
    QFontMetrics metrics(impl->font);
    return metrics.ascent() + metrics.descent();
}

void CPainter::DrawText(int x, int y, std::u16string_view text, Colour colour)
{
    if (!impl->painter || text.empty())
        return;
    impl->painter->setFont(impl->font);
    impl->painter->setPen(ToQColor(colour));
    impl->painter->drawText(QPoint(x, y + QFontMetrics(impl->font).ascent()), ToQString(text));
}
