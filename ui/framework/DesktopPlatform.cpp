#include "ui/framework/DesktopPlatform.h"

#include <cstdlib>

namespace {

bool Set(const char* value)
{
    return value && *value;
}

} // namespace

std::string ChooseDesktopPlatform(const char* requested, const char* display, const char* waylandDisplay)
{
    if (Set(requested))
        return requested;
    if (Set(waylandDisplay))
        return Set(display) ? "xcb;wayland" : "wayland";
    return Set(display) ? "xcb" : "";
}

bool SelectDesktopPlatform(std::string& problem)
{
    const std::string platform = ChooseDesktopPlatform(getenv("QT_QPA_PLATFORM"), getenv("DISPLAY"),
                                                       getenv("WAYLAND_DISPLAY"));
    if (platform.empty()) {
        problem = "no desktop to show its windows on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                  "to run it without one, start it with QT_QPA_PLATFORM=offscreen";
        return false;
    }
    setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
    return true;
}
