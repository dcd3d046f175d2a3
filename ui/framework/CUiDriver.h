#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "ui/framework/CSurface.h"
#include "ui/framework/Geometry.h"

class CUi;
class CWindow;
class CDialog;

// Drives the windows as a user would, for tests and the screenshot tool, on
// the offscreen platform in virtual time. Every action goes through the
// window system (so hover, pressed and focus looks happen) and then lets the
// UI thread and the other threads settle at the current time.
class CUiDriver {
public:
    explicit CUiDriver(CUi& ui) : ui(ui) {}

    void RunFor(std::chrono::milliseconds duration);
    // Actions run inside whatever loop runs then, modal ones included.
    void At(std::chrono::milliseconds when, std::function<void()> action);
    void After(std::chrono::milliseconds delay, std::function<void()> action);
    void Post(std::function<void()> action);

    // The newest dialog of this template whose window exists, visible first.
    CDialog* FindWindow(int templateId) const;

    // The pointer onto a point of `window`'s client area, or away from it.
    void MoveMouse(CWindow& window, CPoint point);
    void MoveMouseAway(CWindow& window);
    void Press(CWindow& window, CPoint point);
    void Release(CWindow& window, CPoint point);
    // The wheel turned by `notches` (away from the user positive) with the
    // pointer on a point of `window`.
    void Wheel(CWindow& window, CPoint point, int notches);
    // Pointer to the centre, button down, button up.
    void Click(CWindow& control);
    // Focus to the control, then the text as key presses.
    void Type(CWindow& control, const std::u16string& text);
    // A key-down and key-up of a virtual key aimed at `window` (its focus).
    void PressKey(CWindow& window, int key);

    CSurface Grab(CWindow& window);

private:
    void Settle();
    CUi& ui;
    // The window under the pointer, which gets the leave when it goes away.
    CWindow* hovered = nullptr;
    std::weak_ptr<int> hoveredAlive;
};
