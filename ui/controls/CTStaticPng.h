#pragma once

#include "ui/controls/CTPngFace.h"

// The PNG face on a static control: no cursor of its own, and it reports
// clicks to its parent only once made clickable.
class CTStaticPng : public CTPngFace {
public:
    void MakeClickable();
    bool clickable = false;
};
