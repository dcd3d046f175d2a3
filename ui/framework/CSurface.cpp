#include "ui/framework/CSurface.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include "ui/framework/QtBridge.h"

namespace {

// Pictures of the skin are small; anything claiming more is not one of ours.
constexpr int maxSide = 8192;
constexpr qint64 maxFileBytes = 64 * 1024 * 1024;

QImage Decode(QIODevice& device)
{
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    QSize size = reader.size();
    if (size.isValid() && (size.width() > maxSide || size.height() > maxSide))
        return {};
    QImage image;
    if (!reader.read(&image) || image.isNull() || image.width() > maxSide || image.height() > maxSide)
        return {};
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

CSurface::CSurface() : impl(std::make_unique<Impl>()) {}

CSurface::CSurface(int width, int height, Colour fill) : impl(std::make_unique<Impl>())
{
    if (width <= 0 || height <= 0)
        return;
    impl->image = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
    impl->image.fill(ToQColor(fill));
}

CSurface::CSurface(const CSurface& other) : impl(std::make_unique<Impl>(*other.impl)) {}

CSurface& CSurface::operator=(const CSurface& other)
{
    *impl = *other.impl;
    return *this;
}

CSurface::CSurface(CSurface&& other) noexcept : impl(std::make_unique<Impl>())
{
    std::swap(impl->image, other.impl->image);
}

CSurface& CSurface::operator=(CSurface&& other) noexcept
{
    std::swap(impl->image, other.impl->image);
    return *this;
}

CSurface::~CSurface() = default;

bool CSurface::IsEmpty() const { return impl->image.isNull(); }
int CSurface::Width() const { return impl->image.width(); }
int CSurface::Height() const { return impl->image.height(); }

bool CSurface::LoadFile(const std::string& path)
{
    impl->image = QImage();
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxFileBytes)
        return false;
    impl->image = Decode(file);
    return !impl->image.isNull();
}

bool CSurface::LoadData(const uint8_t* data, std::size_t size)
{
    impl->image = QImage();
    if (!data || size == 0 || size > std::size_t(maxFileBytes))
        return false;
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    impl->image = Decode(buffer);
    return !impl->image.isNull();
}

void CSurface::PremultiplyAlpha()
{
    QImage& image = impl->image;
    if (image.isNull() || image.format() == QImage::Format_ARGB32_Premultiplied)
        return;
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            QRgb p = line[x];
            int a = qAlpha(p);
            line[x] = qRgba(qRed(p) * a / 255, qGreen(p) * a / 255, qBlue(p) * a / 255, a);
        }
    }
    image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
}

void CSurface::MakeTransparent(Colour colour)
{
    QImage& image = impl->image;
    if (image.isNull())
        return;
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(colour).rgb() & RGB_MASK;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & RGB_MASK) == key)
                line[x] = 0;
    }
}

Colour CSurface::PixelColour(int x, int y) const
{
    if (!impl->image.valid(x, y))
        return 0;
    QColor c = impl->image.pixelColor(x, y);
    return Rgb(c.red(), c.green(), c.blue());
}

int CSurface::PixelAlpha(int x, int y) const
{
    return impl->image.valid(x, y) ? qAlpha(impl->image.pixel(x, y)) : 0;
}

int CSurface::CountColour(const CRect& area, Colour colour) const
{
    int count = 0;
    for (int y = area.y; y < area.Bottom(); ++y)
        for (int x = area.x; x < area.Right(); ++x)
            if (impl->image.valid(x, y) && PixelColour(x, y) == colour)
                ++count;
    return count;
}

bool CSurface::SavePng(const std::string& path) const
{
    return !impl->image.isNull() && impl->image.save(QString::fromStdString(path), "PNG");
}
