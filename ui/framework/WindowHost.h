#pragma once

// Framework-internal: the toolkit widget behind a CWindow.

#include <QPointer>
#include <QScrollBar>
#include <QWidget>
#include <string>
#include <vector>

#include "ui/framework/CWindow.h"

class CHostLink {
public:
    virtual ~CHostLink() = default;
    CWindow* owner = nullptr;
};

struct CWindowHost {
    enum Kind { KindDialog, KindStatic, KindButton, KindEdit, KindComboBox, KindOther };

    QPointer<QWidget> widget;
    CHostLink* link = nullptr;
    Kind kind = KindOther;
    std::u16string text;         // statics and other self-drawn windows
    std::string image;           // an icon static's picture
    bool notify = false;         // a static that reports clicks
    bool dragging = false;
    QPoint dragOffset;
    bool pressedInside = false;
    bool region = false;
    QRegion mask;
    QPointer<QScrollBar> verticalBar;

    // Keeps the scroll bar along the right edge.
    void PlaceScrollBar();

    static CWindow* OwnerOf(QWidget* widget);
};
