// The test driver's press on the tray icon, built into zarnwell_ui_driver
// with Qt's test module, which no product library links.
#include <QPointer>
#include <QTest>

#include "ui/framework/TrayIconImpl.h"

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
