#include "ui/framework/CTrayIcon.h"

#include <QMouseEvent>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWidget>

#include "ui/framework/CUi.h"
#include "ui/framework/QtBridge.h"

namespace {

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

} // namespace

struct CTrayIcon::Impl {
    QSystemTrayIcon icon;
    std::unique_ptr<CTrayStandIn> standIn;
};

CTrayIcon::CTrayIcon(std::function<void(int)> callback) : impl(std::make_unique<Impl>()), callback(std::move(callback))
{
    if (CUi* ui = CUi::Current(); ui && ui->VirtualTime())
        impl->standIn = std::make_unique<CTrayStandIn>(impl->icon);
    QObject::connect(&impl->icon, &QSystemTrayIcon::activated, &impl->icon,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         if (!added || !this->callback)
                             return;
                         if (reason == QSystemTrayIcon::Trigger)
                             this->callback(LeftButtonDown);
                         else if (reason == QSystemTrayIcon::Context)
                             this->callback(RightButtonDown);
                     });
}

CTrayIcon::~CTrayIcon()
{
    impl->icon.hide();
}

bool CTrayIcon::Available()
{
    // The desktop of virtual time (tests, screenshots) has a tray unless the
    // test took it away.
    if (CUi* ui = CUi::Current(); ui && ui->VirtualTime())
        return ui->virtualTrayHost;
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool CTrayIcon::HostReturned()
{
    bool available = Available();
    bool returned = available && !hostSeen;
    hostSeen = available;
    return returned;
}

bool CTrayIcon::Update(Operation operation, const std::string& path, const std::u16string& text)
{
    if (operation == TrayDelete) {
        if (!added)
            return false;
        impl->icon.hide();
        if (impl->standIn)
            impl->standIn->hide();
        added = false;
        return true;
    }
    if ((operation == TrayAdd) == added)
        return false;
    iconPath = path;
    tooltip = text.substr(0, tooltipChars);
    impl->icon.setIcon(QIcon(QString::fromStdString(iconPath)));
    impl->icon.setToolTip(ToQString(tooltip));
    if (operation == TrayAdd) {
        impl->icon.show();
        if (impl->standIn)
            impl->standIn->show();
        added = true;
    }
    return true;
}

CSurface CTrayIcon::Picture(int size) const
{
    CSurface surface;
    surface.Data().image = impl->icon.icon().pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
    return surface;
}

void CTrayIcon::Press(bool right)
{
    if (!impl->standIn || !impl->standIn->windowHandle()) {
        emit impl->icon.activated(right ? QSystemTrayIcon::Context : QSystemTrayIcon::Trigger);
        return;
    }
    const Qt::MouseButton button = right ? Qt::RightButton : Qt::LeftButton;
    QPointer<QWidget> standIn = impl->standIn.get();
    QTest::mousePress(standIn->windowHandle(), button, Qt::NoModifier, QPoint(11, 11));
    if (standIn && standIn->windowHandle())
        QTest::mouseRelease(standIn->windowHandle(), button, Qt::NoModifier, QPoint(11, 11));
}
