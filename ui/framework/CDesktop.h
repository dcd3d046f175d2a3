#pragma once

#include <string>
#include <vector>

#include "ui/framework/Geometry.h"

// The desktop around the windows: work area, pointer, clipboard, and opening
// documents and programs. Programs are started from an argument list, never
// through a shell.
class CDesktop {
public:
    // The primary screen less panels and docks.
    static CRect WorkArea();
    // In virtual time, where the test driver put the pointer.
    static CPoint CursorPos();
    // Lines a notch of the mouse wheel scrolls, as the user set it.
    static int WheelScrollLines();

    static void SetClipboardText(const std::u16string& text);
    static std::u16string ClipboardText();

    // Opens a document or address with the desktop's default handler
    // (xdg-open); true when the handler started.
    static bool OpenDocument(const std::string& target);
    // Starts a program detached; true when it started.
    static bool StartProgram(const std::vector<std::string>& arguments);
};
