#pragma once

#include <string>
#include <vector>

#include "ui/framework/CPainter.h"
#include "ui/framework/CSurface.h"
#include "ui/framework/Geometry.h"

// Same-sized icons by index, each drawn with one colour left transparent.
class CImageList {
public:
    void Create(CSize imageSize) { size = imageSize; images.clear(); }

    // Loads a bitmap whose pixels of `transparent` are not drawn; the index of
    // the new image, or -1 when the file cannot be read. A larger bitmap is
    // cut to the list's size.
    int Add(const std::string& path, Colour transparent);
    int Count() const { return int(images.size()); }
    CSize ImageSize() const { return size; }

    // Nothing for an index outside the list.
    void Draw(CPainter& painter, int index, int x, int y) const;

private:
    CSize size;
    std::vector<CSurface> images;
};
