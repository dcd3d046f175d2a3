#pragma once

#include "ui/controls/CTPngFace.h"

// The PNG face on a push button (close, OK, Cancel, Connect... buttons): the
// hand cursor from the start, and a click is the button's command.
class CTButtonPng : public CTPngFace {
public:
    CTButtonPng() { cursor = CursorHand; }
};
