#include "ui/framework/CFont.h"

#include <QFontInfo>
#include <QFontMetrics>

#include "ui/framework/QtBridge.h"

QFont MakeQFont(int height, int weight, const std::u16string& face)
{
    QFont font(ToQString(face));
    font.setWeight(QFont::Weight(weight <= 0 ? 400 : std::clamp(weight, 100, 900)));
    font.setStyleStrategy(QFont::PreferAntialias);
    if (height <= 0)
        return font;
    // A positive height is the cell (ascent plus descent); a pixel size is the
    // em, which is smaller by the face's own leading.
    font.setPixelSize(height);
    QFontMetrics probe(font);
    int cell = probe.ascent() + probe.descent();
    if (cell > height)
        font.setPixelSize(std::max(1, height * height / cell));
    return font;
}

CFont::CFont() : impl(std::make_unique<Impl>()) { impl->font = MakeQFont(0, 0, face); }

CFont::CFont(int height, int weight, const std::u16string& face)
    : height(height), weight(weight), face(face), impl(std::make_unique<Impl>())
{
    impl->font = MakeQFont(height, weight, face);
}

CFont::CFont(const CFont& other)
    : height(other.height), weight(other.weight), face(other.face), impl(std::make_unique<Impl>(*other.impl))
{
}

CFont& CFont::operator=(const CFont& other)
{
    height = other.height;
    weight = other.weight;
    face = other.face;
    *impl = *other.impl;
    return *this;
}

CFont::~CFont() = default;

std::u16string CFont::DrawnFace() const
{
    return FromQString(QFontInfo(impl->font).family());
}
