#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/framework/CSurface.h"

// The notification-area icon. Update adds, modifies or deletes it with an
// icon file and a tooltip (at most 63 characters); a press on it reaches the
// callback as the mouse message (left or right button down).
//
// Without a tray host on the desktop the icon cannot show: Available() says
// so, and a window must then not hide itself into the tray.
class CTrayIcon {
public:
    enum Operation { TrayAdd = 0, TrayModify = 1, TrayDelete = 2 };
    static constexpr int LeftButtonDown = 0x0201;
    static constexpr int RightButtonDown = 0x0204;
    static constexpr std::size_t tooltipChars = 63;

    explicit CTrayIcon(std::function<void(int)> callback);
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    bool Update(Operation operation, const std::string& iconPath, const std::u16string& tooltip);

    static bool Available();
    // True once each time the desktop's tray came back after it was gone
    // (a restarted shell), as seen at the calls.
    bool HostReturned();
    bool IsAdded() const { return added; }
    const std::string& IconPath() const { return iconPath; }
    const std::u16string& Tooltip() const { return tooltip; }
    // The icon as a tray of `size` pixels draws it.
    CSurface Picture(int size) const;

    // For the test driver (defined in zarnwell_ui_driver): a press and
    // release on the icon, through the window system in virtual time, so
    // that what blocks a press on the desktop's icon blocks this one too.
    void Press(bool right);

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
    std::function<void(int)> callback;
    bool added = false;
    bool hostSeen = true;
    std::string iconPath;
    std::u16string tooltip;
};
