#pragma once

#include "ui/CTDialog.h"
#include "ui/controls/CTPicture.h"
#include "ui/controls/CTStaticPng.h"

enum WaitKind { WaitShifting = 0, WaitSharing = 1, WaitConnecting = 2, WaitStarting = 3, WaitClosing = 4 };

// The busy panel: a small translucent popup with an animation and one line of
// text, run modally while a long operation the user started goes on. Once a
// second it asks the adapter whether the operation is over and ends itself
// (result OK) when it is or when its time is up; its users then read the
// outcome from the adapter. A connect that has not linked by its timeout gets
// a grace of up to 20 more ticks, cut short by four readings in a row of a
// link that is down. Enter and Escape do not end it.
class CChangeWaitDlg : public CTDialog {
public:
    static constexpr int templateId = 148;
    static constexpr int tickTimer = 1000;

    // An unknown kind reads "Shifting..." and ends only at its timeout.
    CChangeWaitDlg(int timeoutSeconds, int waitKind, CWindow* parent = nullptr);

    bool OnInitDialog() override;
    void OnTimer(int timerId) override;

    CTPicture animation;
    CTStaticPng text;
    int timeoutSeconds;
    int waitKind;
    int waitTicks = 0;
    int graceTicks = 0;
    int downTicks = 0;

private:
    void End();
};
