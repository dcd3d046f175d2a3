#pragma once

#include <string>

// The toolkit platform the windows run on (QT_QPA_PLATFORM), chosen from the
// session before the toolkit starts. One the user gave stays as it is. On a
// Wayland session with XWayland (DISPLAY is set too) X11 comes first: a
// Wayland client cannot place its own windows, so the main window's place at
// the top right and the no-adapter panel's at the bottom right would not
// hold; Wayland stays as the fallback. X11 or Wayland alone: that one.
// Neither: empty, there is no desktop. Empty variables count as unset.
std::string ChooseDesktopPlatform(const char* requested, const char* display, const char* waylandDisplay);

// Sets QT_QPA_PLATFORM for this process from its environment; false, with
// one line saying what is missing and how to run without a desktop, when
// there is none.
bool SelectDesktopPlatform(std::string& problem);
