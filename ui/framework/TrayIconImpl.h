#pragma once

#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <QWidget>
#include <memory>

#include "ui/framework/CTrayIcon.h"

// The icon as the desktop of virtual time shows it: a small top-level window
// of its own, as an X11 tray embeds, so that a press on it passes the window
// system's rules (a modal window blocking it) as a press on a real one does.
class CTrayStandIn final : public QWidget {
public:
    explicit CTrayStandIn(QSystemTrayIcon& icon)
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint |
                               Qt::WindowDoesNotAcceptFocus),
          icon(icon)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        resize(22, 22);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            emit icon.activated(QSystemTrayIcon::Trigger);
        else if (event->button() == Qt::RightButton)
            emit icon.activated(QSystemTrayIcon::Context);
    }

private:
    QSystemTrayIcon& icon;
};

struct CTrayIcon::Impl {
    QSystemTrayIcon icon;
    std::unique_ptr<CTrayStandIn> standIn;
};
