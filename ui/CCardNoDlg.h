#pragma once

#include "ui/CTDialog.h"
#include "ui/controls/CTButtonPng.h"
#include "ui/controls/CTStaticPng.h"

// The panel shown instead of the main window while no adapter, or only a
// disabled one, is present. Created hidden once; its close button hides it
// into the tray, and does nothing on a desktop without one.
class CCardNoDlg : public CTDialog {
public:
    static constexpr int templateId = 146;

    explicit CCardNoDlg(CWindow* parent);

    // AdapterNone (picture, message and the buy link), AdapterDisabled (its
    // picture and message, no link); other states change nothing.
    void SetCardState(int state);

    bool OnInitDialog() override;
    void OnCommand(int commandId) override;
    void OnClose() override;

    CTStaticPng picture;
    CTStaticPng message;
    CTStaticPng buyLink;
};
