#include "ui/framework/CTrayIcon.h"

#include "ui/framework/CUi.h"
#include "ui/framework/QtBridge.h"
#include "ui/framework/TrayIconImpl.h"

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
