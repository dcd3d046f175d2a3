#pragma once

// Framework-internal: the Qt objects behind the framework's own types. Only
// files of ui/framework include this.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <string>
#include <string_view>

#include "ui/framework/CFont.h"
#include "ui/framework/CPainter.h"
#include "ui/framework/CSurface.h"
#include "ui/framework/Geometry.h"

struct CSurface::Impl {
    QImage image;
};

struct CFont::Impl {
    QFont font;
};

struct CPainter::Impl {
    QPainter* painter = nullptr;
    bool owned = false;
    QFont font;
};

inline QString ToQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

inline std::u16string FromQString(const QString& text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size()));
}

inline QColor ToQColor(Colour colour)
{
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

inline QRect ToQRect(const CRect& r)
{
    return QRect(r.x, r.y, r.width, r.height);
}

inline CRect FromQRect(const QRect& r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

// A QFont whose cell (ascent + descent) is `height` pixels, as a positive
// font height asks for.
QFont MakeQFont(int height, int weight, const std::u16string& face);
