#include "ui/framework/CImageList.h"

int CImageList::Add(const std::string& path, Colour transparent)
{
    CSurface loaded;
    if (!loaded.LoadFile(path))
        return -1;
    loaded.MakeTransparent(transparent);
    // A blank of the list's size, all of it transparent, under the bitmap.
    CSurface image(size.width, size.height, transparent);
    image.MakeTransparent(transparent);
    {
        CPainter painter(image);
        painter.CopySurfacePart(0, 0, loaded, {0, 0, size.width, size.height});
    }
    images.push_back(std::move(image));
    return Count() - 1;
}

void CImageList::Draw(CPainter& painter, int index, int x, int y) const
{
    if (index >= 0 && index < Count())
        painter.BlendSurface(x, y, images[std::size_t(index)]);
}
