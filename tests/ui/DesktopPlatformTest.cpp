#include <gtest/gtest.h>

#include "ui/framework/DesktopPlatform.h"

namespace {

TEST(DesktopPlatformTest, XWaylandBeforeWaylandAndWhatTheUserAskedForFirst)
{
    struct Case {
        const char* requested;
        const char* display;
        const char* wayland;
        const char* platform;
    };
    for (const Case& c : {
             Case{nullptr, ":0", nullptr, "xcb"},
             Case{nullptr, nullptr, "wayland-0", "wayland"},
             Case{nullptr, ":0", "wayland-0", "xcb;wayland"}, // a GNOME or KDE Wayland session with XWayland
             Case{"offscreen", nullptr, nullptr, "offscreen"},
             Case{"wayland", ":0", "wayland-0", "wayland"},
             Case{"", ":1", "", "xcb"},
             Case{nullptr, nullptr, nullptr, ""},
             Case{"", "", "", ""},
         }) {
        EXPECT_EQ(ChooseDesktopPlatform(c.requested, c.display, c.wayland), c.platform)
            << (c.requested ? c.requested : "-") << " " << (c.display ? c.display : "-") << " "
            << (c.wayland ? c.wayland : "-");
    }
}

} // namespace
